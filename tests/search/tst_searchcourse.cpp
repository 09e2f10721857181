// The word search and the picture search from their doors to the monthly logs: the
// introductions (one step back), the runs with a right and a wrong answer, the graph
// with its print and tip, the record in its session list and, after closing, in the log.
// The word course is played with the mouse, the picture course with the keyboard alone.
#include "support/GuiFixture.h"
#include "support/TestProgram.h"

#include "data/Records.h"
#include "platform/Printing.h"
#include "results/TSingleTipDlg.h"
#include "results/tGraphPanel.h"
#include "search/SearchArt.h"
#include "search/TAbfragDlg.h"
#include "search/TBmpAbfragDlg.h"
#include "search/TBmpKatDlg.h"
#include "search/TErklaerDlgs.h"
#include "search/TGraphDlg.h"
#include "search/TLevelKatDlg.h"
#include "search/TWortDlg.h"
#include "shell/WindowSet.h"
#include "widgets/THelpWin.h"
#include "widgets/TImage.h"
#include "widgets/TPushButton.h"
#include "widgets/TRadioGroup.h"
#include "widgets/TSkinButton.h"
#include "widgets/TxMsgDlg.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QtTest>

using namespace gf;
using gf::test::TestProgram;

namespace {

// Plays the trainee through whatever window of a search course is open.
class Trainee : public QObject
{
public:
    bool keyboard = false;
    QList<bool> answers{true, false}; // per task
    int backs = 1;                    // "Zurück" in the table's story
    QString pdf;                      // where the graph is printed
    std::function<void(TSearchRunDlg&)> duringRun;

    // What the trainee saw.
    int countDialogs = 0;
    QList<std::pair<int, bool>> asked; // level and answer per task
    QList<std::pair<int, bool>> askedColumns;
    QStringList overview;
    QList<double> levelBars, catBars;
    QString levelTitle;
    bool tipShown = false;
    QColor chosenFrame, soughtFrame; // picture query, after the wrong answer

    Trainee()
    {
        // A timer does not fire again while its handler runs; the second one answers
        // a window that opens from within the first's handler (the graph's tip).
        for (QTimer* timer : {&m_timer, &m_nested}) {
            timer->setInterval(2);
            connect(timer, &QTimer::timeout, this, [this] { act(); });
            timer->start();
        }
        m_since.start();
    }

private:
    void key(QWidget* w, int k, Qt::KeyboardModifiers m = Qt::NoModifier)
    {
        // The underlined letters of buttons answer only in the active window.
        if (m & Qt::AltModifier) {
            w->activateWindow();
            QVERIFY(QTest::qWaitFor([w] { return QApplication::activeWindow() == w; }));
        }
        QTest::keyClick(w, Qt::Key(k), m);
        if (m & Qt::AltModifier)
            QTest::qWait(150); // the button shows itself pressed for a moment first
    }
    void next(QWidget* w, QAbstractButton* ok)
    {
        if (keyboard)
            key(w, Qt::Key_Return);
        else
            ok->click();
    }
    void shot(QWidget* w, const QString& state = {})
    {
        const QString name = QString::fromLatin1(w->metaObject()->className()).section("::", -1) +
                             state;
        if (!m_shot.contains(name)) {
            m_shot << name;
            test::shot(w, name + qEnvironmentVariable("GF_SHOT_SCREEN"));
        }
    }

    void act()
    {
        QWidget* w = QApplication::activeModalWidget();
        // A window that opens another (the graph its tip) is busy meanwhile.
        if (!w || m_busy.contains(w))
            return;
        // A window that does not react ends the course rather than the test run.
        if (m_since.hasExpired(60000)) {
            static_cast<QDialog*>(w)->done(mrCancel);
            return;
        }
        m_busy.insert(w);
        shot(w);
        if (auto* level = qobject_cast<TLevelKatDlg*>(w)) {
            ++countDialogs;
            if (keyboard) {
                key(level, Qt::Key_4); // the test-run count of 2
            } else {
                QTest::mouseClick(level->Group->item(3), Qt::LeftButton);
            }
            next(level, level->OKBtn);
        } else if (auto* story = qobject_cast<TTableIntroDlg*>(w); story && backs > 0) {
            --backs;
            if (keyboard) {
                key(story, Qt::Key_Z, Qt::AltModifier);
            } else
                story->BackBtn->click();
        } else if (auto* words = qobject_cast<TXErklaer3Dlg*>(w)) {
            for (QLabel* l : words->CategoryPanels)
                overview << l->text();
            next(words, words->OKBtn);
        } else if (auto* pics = qobject_cast<TBmpErklaer3Dlg*>(w)) {
            for (QLabel* l : pics->Headers)
                overview << l->text();
            next(pics, pics->OKBtn);
        } else if (auto* intro = qobject_cast<TSearchIntroDlg*>(w)) {
            next(intro, intro->OKBtn);
        } else if (auto* run = qobject_cast<TSearchRunDlg*>(w)) {
            if (run->Run().startVisible()) {
                if (keyboard)
                    key(run, Qt::Key_Return);
                else
                    QTest::mouseClick(run->StartPanel, Qt::LeftButton);
            } else if (duringRun) {
                duringRun(*run);
            }
            if (run->Run().position() > 0)
                shot(run, "_presenting");
            if (auto* fax = qobject_cast<TBmpKatDlg*>(run); fax && fax->faxFrame() > 1)
                shot(run, QString("_fax%1").arg(fax->faxFrame()));
        } else if (auto* q = qobject_cast<TAbfragDlg*>(w)) {
            wordQuery(*q);
        } else if (auto* q = qobject_cast<TBmpAbfragDlg*>(w)) {
            pictureQuery(*q);
        } else if (auto* tip = qobject_cast<TSingleTipDlg*>(w)) {
            tipShown = true;
            next(tip, tip->OKBtn);
        } else if (auto* graph = qobject_cast<TGraphDlg*>(w)) {
            levelTitle = graph->LevelChart->Title();
            for (const tBarValue& b : graph->LevelChart->Bars())
                levelBars << b.Value;
            for (const tBarValue& b : graph->CatChart->Bars())
                catBars << b.Value;
            SetPrintTargetForTests(pdf);
            if (keyboard) {
                key(graph, Qt::Key_D, Qt::AltModifier);
                key(graph, Qt::Key_T, Qt::AltModifier); // the tip, answered by this trainee
            } else {
                graph->PrintBtn->click();
                graph->CommentBtn->click();
            }
            SetPrintTargetForTests(QString());
            next(graph, graph->OKBtn);
        }
        m_busy.remove(w);
    }

    void wordQuery(TAbfragDlg& q)
    {
        if (q.Answered) {
            shot(&q, answers.value(int(asked.size()) - 1) ? "_right" : "_wrong");
            q.OKBtn->click();
            return;
        }
        const bool right = answers.value(int(asked.size()), true);
        asked.append({q.Run->level(), right});
        askedColumns.append({q.Category, right});
        const int sought = q.Run->query().Sought;
        const int choice = right ? sought : (sought + 1) % q.RadioGroup->count();
        QTest::mouseClick(q.RadioGroup->item(choice), Qt::LeftButton);
    }

    void pictureQuery(TBmpAbfragDlg& q)
    {
        const int sought = q.Run->query().Sought;
        if (q.Answered) {
            if (!asked.last().second) {
                // The frames come back with every paint of the window.
                const QImage image = q.grab().toImage();
                const auto onLeftLine = [&](int i) {
                    const QRect f = q.frameRect(i);
                    return image.pixelColor(f.left(), f.center().y());
                };
                chosenFrame = onLeftLine(q.ItemIndex);
                soughtFrame = onLeftLine(sought);
            }
            shot(&q, asked.last().second ? "_right" : "_wrong");
            key(&q, Qt::Key_Return);
            return;
        }
        const bool right = answers.value(int(asked.size()), true);
        asked.append({q.Run->level(), right});
        askedColumns.append({q.Category, right});
        if (right) {
            key(&q, Qt::Key_1 + sought);
            return;
        }
        // The arrows: the first highlights picture 1, the next moves along the row.
        key(&q, Qt::Key_Right);
        if (sought == 0)
            key(&q, Qt::Key_Right);
        shot(&q, "_highlight");
        key(&q, Qt::Key_Return);
    }

    QTimer m_timer;
    QTimer m_nested;
    QElapsedTimer m_since;
    QSet<QWidget*> m_busy;
    QStringList m_shot;
};

// Expected percentages per level (or category), in order, from what was asked.
QList<double> percentages(const QList<std::pair<int, bool>>& asked)
{
    QMap<int, std::pair<int, int>> byKey; // right, asked
    for (const auto& [k, right] : asked) {
        byKey[k].first += right ? 1 : 0;
        ++byKey[k].second;
    }
    QList<double> out;
    for (const auto& [right, total] : byKey)
        out << 100.0 * right / total;
    return out;
}

} // namespace

class TstSearchCourse : public QObject
{
    Q_OBJECT

    // The item tables of the installation, in the program's folder of the test.
    static void copyTables(TestProgram& p)
    {
        const QString install = qEnvironmentVariable("GF_INSTALL_DIR") + "/";
        for (const char* name : {"std.cfg", "bmp.cfg"})
            QVERIFY(QFile::copy(install + name, p.dir.filePath(name)));
        // Screenshots at another screen size: GF_SHOT_SCREEN=1024x768.
        const QStringList size = qEnvironmentVariable("GF_SHOT_SCREEN").split('x');
        if (size.size() == 2) {
            p.ctx.ScreenWidth = size[0].toInt();
            p.ctx.ScreenHeight = size[1].toInt();
            p.win->AdaptForms();
        }
    }

    // The printed page is kept with the screenshots, for a person to look at.
    static QString pdfPath(TestProgram& p, const QString& name)
    {
        const QString shots = qEnvironmentVariable("GF_SHOT_DIR");
        return shots.isEmpty() ? p.dir.filePath(name) : QDir(shots).filePath(name);
    }

    template <typename Stat>
    void checkRecord(const Stat& r, const Trainee& t)
    {
        QCOMPARE(r.Kind, 2);
        int asked[5] = {}, right[5] = {};
        for (const auto& [level, ok] : t.asked) {
            ++asked[level];
            right[level] += ok ? 1 : 0;
        }
        for (int k = 1; k <= 4; ++k) {
            QCOMPARE(int(r.AskedPerLevel[k]), asked[k]);
            QCOMPARE(int(r.CorrectPerLevel[k]), right[k]);
        }
    }

private slots:
    void wordSearchFromDoorOne()
    {
        TestProgram p;
        ScopedMessageHook messages;
        p.login("Falke");
        // Without a table there is nothing to introduce or to run.
        messages.clear();
        p.win->Image1Click();
        QVERIFY(messages.isEmpty());
        QCOMPARE(p.sink.entries.size(), 1);
        QVERIFY(p.sink.last().startsWith("Fehler"));
        p.sink.clear();

        copyTables(p);
        p.win->BackImage->show();

        Trainee t;
        t.pdf = pdfPath(p, "word_graph.pdf");
        // Help and the abort question hold the presentation; "Nein" goes on.
        int shown = 0, shownBeforeHelp = -1, shownAfterHelp = -1, abortQuestions = -1;
        connect(&p.win->Windows().WortDlg->Run(), &tSearchRun::itemShown, this, [&] { ++shown; });
        t.duringRun = [&](TSearchRunDlg& run) {
            if (shownBeforeHelp >= 0 || run.Run().phase() != tSearchRun::Phase::Presenting)
                return;
            const HelpPageHook previous = SetHelpPageHook([&](const QString&) {
                shownBeforeHelp = shown;
                QTest::qWait(150); // a whole task's worth at the test speed
                shownAfterHelp = shown;
            });
            run.HelpBtn->click();
            SetHelpPageHook(previous);
            const int before = messages.count();
            messages.answer(mrNo);
            QTest::keyClick(&run, Qt::Key_Escape);
            abortQuestions = messages.count() - before;
        };
        p.win->Image1Click();

        QVERIFY(p.win->BackImage->isHidden());
        QCOMPARE(t.countDialogs, 2); // back from the story to the count, then on again
        QVERIFY(shownBeforeHelp >= 0);
        QCOMPARE(shownAfterHelp, shownBeforeHelp);
        QCOMPARE(abortQuestions, 1);
        QCOMPARE(t.asked.size(), 2);
        QCOMPARE(p.data.WortStatList.size(), 1);
        checkRecord(p.data.WortStatList.first(), t);
        QVERIFY(p.ctx.WortTipNo >= 1 && p.ctx.WortTipNo <= 7);

        const auto& table = *p.win->Windows().WortDlg->Tables.Current;
        QCOMPARE(t.overview, (QStringList{table.Cells[1][2].Text, table.Cells[1][3].Text,
                                          table.Cells[1][4].Text, table.Cells[1][5].Text}));
        QCOMPARE(t.levelTitle, QString("Wortfahndung: Treffer pro Position"));
        QCOMPARE(t.levelBars, percentages(t.asked));
        QCOMPARE(t.catBars, percentages(t.askedColumns));
        QVERIFY(t.tipShown);
        QFile pdf(t.pdf);
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        QVERIFY(pdf.read(4) == "%PDF");
        QCOMPARE(messages.texts(), QStringList{"Möchten Sie wirklich abbrechen?"});
        QVERIFY2(p.sink.entries.isEmpty(), qPrintable(p.sink.texts().join(" | ")));

        const tWortKatStat record = p.data.WortStatList.first();
        p.win->CloseWithoutQuestion = false;
        p.win->close();
        QFile log(p.data.DataDir + "FalkeWS" + p.data.MonthTag() + ".dat");
        QVERIFY(log.open(QIODevice::ReadOnly));
        tWortKatStat stored;
        QVERIFY(tProgramData::ReadWortStat(log, stored));
        QCOMPARE(stored, record);
        QVERIFY(log.atEnd());
    }

    void pictureSearchFromDoorTwoByKeyboard()
    {
        TestProgram p;
        copyTables(p);
        ScopedMessageHook messages;
        p.login("Eule");
        messages.clear();
        p.win->BackImage->show();

        Trainee t;
        t.keyboard = true;
        t.pdf = pdfPath(p, "picture_graph.pdf");
        // The fax machine shows one frame at a time and comes to rest on frame 1.
        QList<int> frames;
        connect(&p.win->Windows().BmpKatDlg->Run(), &tSearchRun::faxFrameChanged, this,
                [&](int f) { frames << f; });
        p.win->Image2Click();

        QVERIFY(p.win->BackImage->isHidden());
        QCOMPARE(t.countDialogs, 2);
        QCOMPARE(t.asked.size(), 2);
        QCOMPARE(p.data.BildStatList.size(), 1);
        checkRecord(p.data.BildStatList.first(), t);
        QVERIFY(p.data.WortStatList.isEmpty());
        QCOMPARE(t.chosenFrame, QColor(255, 0, 0));
        QCOMPARE(t.soughtFrame, QColor(0, 255, 255));
        QCOMPARE(t.levelTitle, QString("Bildfahndung: Treffer pro Position"));
        QCOMPARE(t.levelBars, percentages(t.asked));
        QVERIFY(t.tipShown);
        QVERIFY(QFileInfo(t.pdf).size() > 0);
        QCOMPARE(frames.mid(frames.indexOf(2) - 1, 4), (QList<int>{1, 2, 3, 1}));
        const TBmpKatDlg& run = *p.win->Windows().BmpKatDlg;
        QCOMPARE(run.faxFrame(), 1);
        QVERIFY(!run.FaxFrames[0]->isHidden() && run.FaxFrames[1]->isHidden() &&
                run.FaxFrames[2]->isHidden());
        QVERIFY2(messages.isEmpty(), qPrintable(messages.texts().join(" | ")));

        const tBmpKatStat record = p.data.BildStatList.first();
        p.win->CloseWithoutQuestion = false;
        p.win->close();
        QFile log(p.data.DataDir + "EuleBK" + p.data.MonthTag() + ".dat");
        QVERIFY(log.open(QIODevice::ReadOnly));
        tBmpKatStat stored;
        QVERIFY(tProgramData::ReadBildStat(log, stored));
        QCOMPARE(stored, record);
    }

    // A table with fewer categories and items leaves nothing of the one shown before.
    void overviewsOfASmallerTableAreBlank()
    {
        test::GuiContext g;
        auto table = [](int rows, int cols) {
            auto t = std::make_shared<tConfig>();
            t->RowCount = quint16(rows);
            t->ColCount = quint16(cols);
            for (int c = 2; c <= cols; ++c)
                for (int r = 1; r <= rows; ++r)
                    t->Cells[r][c].Text = r == 1 ? QString("Kat%1").arg(c) : QString("Hut_%1").arg(r - 2);
            return t;
        };
        TXErklaer3Dlg words(g.ctx);
        TBmpErklaer3Dlg pictures(g.ctx);
        for (auto [rows, cols] : {std::pair{6, 5}, std::pair{5, 4}}) {
            words.Table = pictures.Table = table(rows, cols);
            words.show();
            pictures.show();
            words.hide();
            pictures.hide();
        }
        QVERIFY(words.Boxes[2]->isVisibleTo(&words));
        QVERIFY(!words.Boxes[3]->isVisibleTo(&words));
        QCOMPARE(words.CategoryPanels[3]->text(), QString());
        QCOMPARE(words.ItemPanels[0][2]->text(), QString("Hut_3"));
        QCOMPARE(words.ItemPanels[0][3]->text(), QString());
        QVERIFY(!pictures.Pictures[2][2]->picture().isNull());
        QVERIFY(pictures.Pictures[2][3]->picture().isNull());
        QVERIFY(pictures.Pictures[3][0]->picture().isNull());
        QVERIFY(pictures.Headers[3]->isHidden());
    }
};

QTEST_MAIN(TstSearchCourse)
#include "tst_searchcourse.moc"

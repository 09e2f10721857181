// The word search and the picture search from their doors to the monthly logs: the
// introductions (one step back), the runs with a right and a wrong answer, the graph
// with its print and tip, the record in its session list and, after closing, in the log.
// The word course is played with the mouse and with the keyboard alone, the picture course
// with the keyboard alone.
#include "support/TestProgram.h"

#include "core/data/Records.h"
#include "core/search/ItemTableText.h"
#include "exercises/results/tGraphPanel.h"
#include "exercises/search/SearchArt.h"
#include "exercises/search/TAbfragDlg.h"
#include "exercises/search/TBmpAbfragDlg.h"
#include "exercises/search/TBmpKatDlg.h"
#include "exercises/search/TErklaerDlgs.h"
#include "exercises/search/TGraphDlg.h"
#include "exercises/search/TLevelKatDlg.h"
#include "exercises/search/TWortDlg.h"
#include "shell/WindowSet.h"
#include "toolkit/THelpWin.h"
#include "toolkit/TImage.h"
#include "toolkit/TPushButton.h"
#include "toolkit/TRadioGroup.h"
#include "toolkit/TSkinButton.h"
#include "toolkit/TxMsgDlg.h"

#include <QFile>
#include <QLabel>
#include <QtTest>

using namespace gf;
using gf::test::TestProgram;

namespace gf::test {

namespace {

// Plays the trainee through whatever window of a search course is open.
class Trainee : public test::CourseTrainee
{
public:
    int backs = 1; // "Zurück" in the table's story
    std::function<void(TSearchRunDlg&)> duringRun;
    std::function<void()> atGraph;

    // What the trainee saw.
    int countDialogs = 0;
    QList<std::pair<int, bool>> asked; // level and answer per task
    QList<std::pair<int, bool>> askedColumns;
    QStringList overview;
    QList<double> levelBars, catBars;
    QString levelTitle;
    QColor chosenFrame, soughtFrame; // picture query, after the wrong answer

    Trainee()
    {
        shotTag = qEnvironmentVariable("GF_SHOT_SCREEN");
        answers = {true, false};
        on<TCountDlg>([this](TCountDlg&) {
            ++countDialogs;
            return false;
        });
        on<TTableIntroDlg>([this](TTableIntroDlg& story) {
            if (backs <= 0)
                return false;
            --backs;
            keyboard ? key(&story, Qt::Key_Z, Qt::AltModifier) : story.BackBtn->click();
            return true;
        });
        const auto note = [this](const auto& labels) {
            for (QLabel* l : labels)
                overview << l->text();
            return false;
        };
        on<TXErklaer3Dlg>([note](TXErklaer3Dlg& words) { return note(words.CategoryPanels); });
        on<TBmpErklaer3Dlg>([note](TBmpErklaer3Dlg& pics) { return note(pics.Headers); });
        on<TSearchRunDlg>([this](TSearchRunDlg& run) {
            if (run.Run().startVisible()) {
                keyboard ? key(&run, Qt::Key_Return)
                         : QTest::mouseClick(run.StartPanel, Qt::LeftButton);
            } else if (duringRun) {
                duringRun(run);
            }
            if (run.Run().position() > 0)
                shot(&run, "_presenting");
            if (auto* fax = qobject_cast<TBmpKatDlg*>(&run); fax && fax->faxFrame() > 1)
                shot(&run, QString("_fax%1").arg(fax->faxFrame()));
        });
        on<TAbfragDlg>([this](TAbfragDlg& q) { wordQuery(q); });
        on<TBmpAbfragDlg>([this](TBmpAbfragDlg& q) { pictureQuery(q); });
        on<TGraphDlg>([this](TGraphDlg& graph) {
            if (atGraph)
                atGraph();
            levelTitle = graph.LevelChart->Title();
            for (const tBarValue& b : graph.LevelChart->Bars())
                levelBars << b.Value;
            for (const tBarValue& b : graph.CatChart->Bars())
                catBars << b.Value;
            return false;
        });
    }

private:
    void wordQuery(TAbfragDlg& q)
    {
        if (q.Answered) {
            shot(&q, asked.last().second ? "_right" : "_wrong");
            next(q, q.OKBtn);
            return;
        }
        const bool right = this->right(asked.size());
        asked.append({q.Run->level(), right});
        askedColumns.append({q.Category, right});
        const int sought = q.Run->query().Sought;
        const int choice = right ? sought : (sought + 1) % q.RadioGroup->count();
        if (keyboard)
            key(&q, Qt::Key_1 + choice);
        else
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
        const bool right = this->right(asked.size());
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
        if (size.size() == 2)
            p.setScreen({size[0].toInt(), size[1].toInt()});
    }

    template <typename Stat> void checkRecord(const Stat& r, const Trainee& t)
    {
        QCOMPARE(r.Kind, 2);
        for (int k = 1; k <= 4; ++k) {
            const int right = int(t.asked.count({k, true}));
            QCOMPARE(int(r.AskedPerLevel[k]), right + int(t.asked.count({k, false})));
            QCOMPARE(int(r.CorrectPerLevel[k]), right);
        }
    }

private slots:
    void wordSearchFromDoorOne_data()
    {
        QTest::addColumn<bool>("keyboard");
        QTest::newRow("mouse") << false;
        QTest::newRow("keys alone") << true;
    }

    void wordSearchFromDoorOne()
    {
        QFETCH(bool, keyboard);
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
        t.keyboard = keyboard;
        t.pdf = p.keptFile("word_graph.pdf");
        // The record is on disk by the time its graph appears.
        qsizetype storedAtGraph = -1;
        t.atGraph = [&] {
            const auto user = p.storedUser();
            storedAtGraph = user ? storedRecords(*user).Wort.size() : -1;
        };
        // Help and the abort question hold the presentation; "Nein" goes on.
        int shown = 0, shownBeforeHelp = -1, shownAfterHelp = -1, abortQuestions = -1;
        bool stageHiddenDuringQuestion = false, stageBack = false;
        connect(&p.win->Windows().WortDlg->Run(), &tSearchRun::itemShown, this, [&] { ++shown; });
        t.duringRun = [&](TSearchRunDlg& run) {
            if (shownBeforeHelp >= 0 || run.Run().phase() != tSearchRun::Phase::Presenting)
                return;
            const HelpPageHook previous = setHelpPageHook([&](const QString&) {
                shownBeforeHelp = shown;
                QTest::qWait(150); // a whole task's worth at the test speed
                shownAfterHelp = shown;
            });
            keyboard ? t.key(&run, Qt::Key_F1) : run.HelpBtn->click();
            setHelpPageHook(previous);
            const int before = messages.count();
            // the word is out of sight while the question is open, and back after "Nein"
            QWidget* stage = p.win->Windows().WortDlg->WordPanel;
            messages.setHandler([&](const ScopedMessageHook::Message&) {
                stageHiddenDuringQuestion = stage->isHidden();
                return int(mrNo);
            });
            t.key(&run, Qt::Key_Escape);
            messages.setHandler({});
            abortQuestions = messages.count() - before;
            stageBack = !stage->isHidden();
        };
        p.win->Image1Click();

        QVERIFY(p.win->BackImage->isHidden());
        QCOMPARE(t.countDialogs, 2); // back from the story to the count, then on again
        QVERIFY(shownBeforeHelp >= 0);
        QCOMPARE(shownAfterHelp, shownBeforeHelp);
        QCOMPARE(abortQuestions, 1);
        QVERIFY(stageHiddenDuringQuestion && stageBack);
        QCOMPARE(t.asked.size(), 2);
        QCOMPARE(storedAtGraph, 1);
        QCOMPARE(p.data.WortStatList.size(), 1);
        checkRecord(p.data.WortStatList.first(), t);
        QVERIFY(p.ctx.WortTipNo >= 1 && p.ctx.WortTipNo <= 7);

        const auto& table = *p.win->Windows().WortDlg->Tables.Current;
        QCOMPARE(t.overview, (QStringList{table.Cells[1][2].Text, table.Cells[1][3].Text,
                                          table.Cells[1][4].Text, table.Cells[1][5].Text}));
        QCOMPARE(t.levelTitle, QString("Wortfahndung: Treffer pro Position"));
        QCOMPARE(t.levelBars, percentages(t.asked));
        QCOMPARE(t.catBars, percentages(t.askedColumns));
        QCOMPARE(t.tipKind, ExerciseKind::Wort);
        QVERIFY(QFileInfo(t.pdf).size() > 0);
        QCOMPARE(messages.texts(), QStringList{"Möchten Sie wirklich abbrechen?"});
        QVERIFY2(p.sink.entries.isEmpty(), qPrintable(p.sink.texts().join(" | ")));

        const tWortKatStat record = p.data.WortStatList.first();
        tWortKatStat stored;
        const WalkedRecords all = p.closeAndReadStored();
        QCOMPARE(all.Wort.size(), 1);
        stored = all.Wort[0];
        QCOMPARE(stored, record);
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
        t.pdf = p.keptFile("picture_graph.pdf");
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
        QCOMPARE(t.tipKind, ExerciseKind::Bild);
        QVERIFY(QFileInfo(t.pdf).size() > 0);
        // The fax machine comes to rest on frame 1, the only one shown.
        const TBmpKatDlg& run = *p.win->Windows().BmpKatDlg;
        QCOMPARE(run.faxFrame(), 1);
        QVERIFY(!run.FaxFrames[0]->isHidden() && run.FaxFrames[1]->isHidden() &&
                run.FaxFrames[2]->isHidden());
        QVERIFY2(messages.isEmpty(), qPrintable(messages.texts().join(" | ")));

        const tBmpKatStat record = p.data.BildStatList.first();
        tBmpKatStat stored;
        const WalkedRecords all = p.closeAndReadStored();
        QCOMPARE(all.Bild.size(), 1);
        stored = all.Bild[0];
        QCOMPARE(stored, record);
    }

    // Blank stages would be stored as a run the trainee never saw: a picture table
    // whose pictures are missing starts nothing, in the course or in the window.
    void pictureSearchWithMissingPicturesStartsNothing()
    {
        TestProgram p;
        copyTables(p);
        QString text = "Tabelle: Fehlend\nZeile: |A|B|C|D\nZeile: |die|die|die|die\n";
        for (int r = 0; r < 4; ++r)
            text += QString("Zeile: |Bild%1a|Bild%1b|Bild%1c|Bild%1d\n").arg(r);
        ItemTableFile file;
        QString error;
        QVERIFY2(parseItemTableText(text, file, &error), qPrintable(error));
        QFile out(p.dir.filePath("bmp.cfg"));
        QVERIFY(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write(writeItemTables(file));
        out.close();
        ScopedMessageHook messages;
        p.login("Eule");
        messages.clear();

        Trainee t;
        p.win->Image2Click();
        QCOMPARE(messages.texts(),
                 QStringList{"Die Bildfahndung kann nicht beginnen, weil Bilder fehlen:\n\r"
                             "Bild0a.bmp\n\rBild0b.bmp\n\rBild0c.bmp\n\rBild0d.bmp\n\r"
                             "Bild1a.bmp\n\rund 11 weitere."});
        QVERIFY(t.overview.isEmpty());
        QCOMPARE(t.countDialogs, 0);
        if (!qEnvironmentVariableIsEmpty("GF_SHOT_DIR"))
            for (QSize screen : {QSize(800, 600), QSize(1024, 768)}) {
                TxMsgDlg box;
                box.prepare(messages.last().text, mkFehlermeldung, btn::OK, screen);
                box.show();
                QVERIFY(QTest::qWaitForWindowExposed(&box));
                test::shot(&box, QString("missing_pictures_%1").arg(screen.width()));
            }

        messages.clear();
        TBmpKatDlg& run = *p.win->Windows().BmpKatDlg;
        QVERIFY(run.Tables.Current);
        QCOMPARE(run.exec(), int(mrCancel));
        QCOMPARE(messages.count(), 1);
        QVERIFY(messages.last().text.endsWith("\n\rund 11 weitere."));
        QCOMPARE(run.Run().position(), 0);
        QVERIFY(p.data.BildStatList.isEmpty());
        QVERIFY(p.closeAndReadStored().Bild.isEmpty());
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
                    t->Cells[r][c].Text =
                        r == 1 ? QString("Kat%1").arg(c) : QString("Hut_%1").arg(r - 2);
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

} // namespace gf::test

QTEST_MAIN(gf::test::TstSearchCourse)
#include "tst_searchcourse.moc"

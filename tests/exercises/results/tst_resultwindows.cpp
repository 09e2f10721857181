#include "support/DataSupport.h"
#include "support/GuiFixture.h"

#include "exercises/results/SeqFeedback.h"
#include "exercises/results/TExportDlg.h"
#include "exercises/results/tKatFeedback.h"
#include "exercises/results/TTagDlg.h"
#include "platform/PlatformDialogs.h"
#include "platform/Printing.h"
#include "toolkit/THelpWin.h"
#include "toolkit/TPushButton.h"
#include "toolkit/TRadioGroup.h"
#include "toolkit/TxMsgDlg.h"

#include <QLineEdit>
#include <QPainter>
#include <QtTest>

using namespace gf;

namespace gf::test {

// The two panels of the daily results, the daily results window and the export dialog.
class TstResultWindows : public QObject
{
    Q_OBJECT

    template <typename Panel> static QList<int> printedSizes(Panel& panel, int width)
    {
        QImage paper(2000, 1400, QImage::Format_RGB32);
        QPainter p(&paper);
        return panel.PrintTo(p, 0, 0, width, 1000) ? panel.lastFontSizes() : QList<int>();
    }
    // Half the page width halves every font; paper gets black on white only.
    template <typename Panel> static void checkPaper(Panel& panel)
    {
        const QList<int> full = printedSizes(panel, 2000), half = printedSizes(panel, 1000);
        QCOMPARE(*std::max_element(full.begin(), full.end()), 16);
        QCOMPARE(half.size(), full.size());
        for (int i = 0; i < full.size(); ++i)
            QCOMPARE(half[i], qRound(full[i] / 2.0));
        QImage paper(1500, 1000, QImage::Format_RGB32);
        {
            QPainter p(&paper);
            panel.PrintTo(p, 0, 0, 1500, 1000);
        }
        for (int y = 0; y < paper.height(); ++y)
            for (int x = 0; x < paper.width(); ++x) {
                const QRgb c = paper.pixel(x, y);
                QVERIFY(qRed(c) == qGreen(c) && qGreen(c) == qBlue(c));
            }
    }

private slots:
    void panelsOnPaperAndScales()
    {
        tKatFeedback kat;
        kat.setTextColor(QColor(205, 224, 241));
        kat.Data.Values.fill(50);
        checkPaper(kat);
        kat.FontScale = 1.5;
        kat.renderImage(QSize(800, 510));
        QCOMPARE(kat.lastFontSizes().first(), 24);
        QCOMPARE(kat.LineHeight(), 17);

        SeqFeedback seq;
        seq.setTextColor(QColor(215, 250, 240));
        seq.Data.NumLevels = 9;
        seq.Data.TelSafeToday.fill(5);
        seq.Data.MemoSafeEarlier.fill(4);
        checkPaper(seq);
        // best lengths on the scale get their circle; below 3 on the telephone scale or
        // beyond the scale, none
        seq.Data.TelBestEarlier.v = {5, 2, 10};
        seq.Data.MemoBestEarlier.v = {NoValue, 1, 9};
        seq.renderImage(QSize(800, 512));
        const QList<QPoint> circles = seq.lastCircles();
        QCOMPARE(circles.size(), 3);
        const int column = (circles[2].x() - circles[1].x()) / 8; // memo 9 and memo 1
        QVERIFY(column > 0);
        QCOMPARE(circles[0].x() - circles[1].x(), 4 * column); // telephone 5
    }

    void dailyResultsPagesPrintedAndExplained()
    {
        GuiContext env;
        tWortKatStat w;
        w.AskedPerLevel.v = {4, 4, 4, 4};
        w.CorrectPerLevel.v = {3, 2, 0, 4};
        w.Stamp = SerialDate::fromDateTime(env.data.clock().now());
        env.data.createSessionLists();
        env.data.WortStatList = {w};
        tTeleStat t;
        t.Stamp = w.Stamp;
        t.Mode = 2;
        t.BestSpan = 6;
        t.MaxLevel = 7;
        env.data.TelStatList = {t};
        env.data.TelBest.v = {NoValue, 8, NoValue};
        env.data.TelAvg.v = {NoValueReal, 5.5, NoValueReal};

        TTagDlg dlg(env.ctx);
        dlg.open();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        QVERIFY(dlg.KatFeed->isVisible() && !dlg.SeqFeed->isVisible());
        QCOMPARE(dlg.KatFeed->Data.Values[1], 75.0);
        QCOMPARE(dlg.SeqFeed->Data.NumLevels, 8);
        shot(&dlg, "tagdlg_category");

        // each page prints itself, the category page's title bold, the other's regular
        QTemporaryDir dir;
        const QString pdf = dir.filePath("tag.pdf");
        setPrintTargetForTests(pdf);
        QTest::mouseClick(dlg.PrintBtn, Qt::LeftButton);
        QVERIFY(dlg.lastTitleFont().bold());
        QVERIFY(QFileInfo(pdf).size() > 2000);
        QCOMPARE(dlg.KatFeed->Color(), QColor(Qt::black)); // screen colours are back
        QTest::mouseClick(dlg.Group->item(1), Qt::LeftButton);
        QVERIFY(dlg.SeqFeed->isVisible() && !dlg.KatFeed->isVisible());
        shot(&dlg, "tagdlg_sequence");
        QTest::mouseClick(dlg.PrintBtn, Qt::LeftButton);
        setPrintTargetForTests(QString());
        QVERIFY(!dlg.lastTitleFont().bold());

        QStringList pages;
        setHelpPageHook([&](const QString& path) { pages << QFileInfo(path).fileName(); });
        QTest::mouseClick(dlg.TipBtn, Qt::LeftButton);
        setHelpPageHook({});
        QCOMPARE(pages, QStringList{"stat.rtf"});
        dlg.done(mrOk);
    }

    void exportPeriodAndBadDate()
    {
        DataFolder f;
        f.reset();
        auto d = f.registered("Anna");
        QVERIFY(d);
        QByteArray log;
        for (double stamp :
             {serial(2004, 1, 19, 23, 59, 59), serial(2004, 1, 20), serial(2004, 1, 25, 12),
              serial(2004, 2, 5, 23, 59, 59), serial(2004, 2, 6)})
            log += wordRecord(stamp, {4, 4, 4, 4}, {1, 2, 3, 4});
        QVERIFY(f.write("AnnaWS_04_01.dat", log));
        d->CurrentUser->WortFiles = {f.path("AnnaWS_04_01.dat")};
        QVERIFY(d->SaveUserFile());
        tWortKatStat unsaved;
        unsaved.Stamp = SerialDate::fromDateTime(QDateTime(QDate(2004, 2, 5), QTime(9, 0)));
        unsaved.AskedPerLevel[1] = 2;
        unsaved.CorrectPerLevel[1] = 1;
        d->WortStatList = {unsaved};

        GuiContext env;
        env.ctx.data = d.get();
        TExportDlg dlg(env.ctx);
        dlg.open();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        QVERIFY(!dlg.StartEdit->isVisible() && !dlg.EndEdit->isVisible());
        const QString out = f.path("Anna.exp");
        ScriptedDialogs dialogs;
        ScopedMessageHook messages;

        // an impossible start date stops before any file is asked for or touched
        QTest::mouseClick(dlg.Group->item(1), Qt::LeftButton);
        QVERIFY(dlg.StartEdit->isVisible() && !dlg.EndEdit->isVisible());
        dlg.StartEdit->setText("31.02.2004");
        shot(&dlg, "exportdlg");
        dialogs.saveAnswers = {out};
        QTest::mouseClick(dlg.FileNameBtn, Qt::LeftButton);
        dlg.FileEdit->setText(out);
        QVERIFY(!dlg.RunExport());
        QCOMPARE(messages.texts(),
                 (QStringList{"Ungültige Datumsangabe", "Ungültige Datumsangabe"}));
        QVERIFY(dialogs.saveCalls.isEmpty());
        QVERIFY(!QFile::exists(out));

        // a period that ends before it begins is refused like a wrong date
        QTest::mouseClick(dlg.Group->item(3), Qt::LeftButton);
        dlg.StartEdit->setText("05.02.2004");
        dlg.EndEdit->setText("20.01.2004");
        messages.clear();
        QTest::mouseClick(dlg.FileNameBtn, Qt::LeftButton);
        QCOMPARE(messages.texts(),
                 QStringList{"Das Anfangsdatum 05.02.2004 liegt nach dem Enddatum 20.01.2004."});
        QVERIFY(dialogs.saveCalls.isEmpty());

        // a period: both limit days in; the data tool's file, then the unsaved record.
        // Her own summary, which the filter lists, is refused and the name asked again.
        const QByteArray summary = f.read("AnnaWS.dat");
        QVERIFY(!summary.isEmpty());
        dialogs.saveAnswers = {f.path("AnnaWS.dat"), out};
        messages.clear();
        dlg.StartEdit->setText("20.01.2004");
        dlg.EndEdit->setText("5.2.2004");
        QTest::mouseClick(dlg.FileNameBtn, Qt::LeftButton);
        QCOMPARE(dialogs.saveCalls.size(), 2);
        QCOMPARE(dialogs.saveCalls[0].proposed, out);
        QCOMPARE(messages.count(), 1);
        QVERIFY(messages.last().text.contains("gehört zu den Daten des Programms"));
        QCOMPARE(f.read("AnnaWS.dat"), summary);
        const QByteArray written = f.read("Anna.exp");
        const QByteArray stored = runDataTool({"export", f.tmp.path(), "Anna", "--kind", "search",
                                               "--from", "20.01.2004", "--to", "05.02.2004"})
                                      .out;
        QCOMPARE(written, stored + "WORT\t05.02.2004\t09:00:00\t50,00\t\t\t\r\n");
        QCOMPARE(stored.count("\r\n"), 4);
        QVERIFY(stored.contains("20.01.2004\t00:00:00") && stored.contains("05.02.2004\t23:59:59"));
        dlg.done(mrOk);
    }
};

} // namespace gf::test

QTEST_MAIN(gf::test::TstResultWindows)
#include "tst_resultwindows.moc"

#include "support/GuiFixture.h"

#include "data/MessageSink.h"
#include "platform/Printing.h"
#include "results/TTagDlg.h"
#include "search/tKatFeedback.h"
#include "sequence/SeqFeedback.h"
#include "widgets/THelpWin.h"
#include "widgets/TPushButton.h"
#include "widgets/TRadioGroup.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

using namespace gf;

namespace gf::test {

// The daily results window: values on both pages, the page switch, printing the page
// shown, the explanations.
class TstTagDlg : public QObject
{
    Q_OBJECT

private slots:
    void bothPagesPrintedAndExplained()
    {
        GuiContext env;
        tWortKatStat w;
        w.AskedPerLevel.v = {4, 4, 4, 4};
        w.CorrectPerLevel.v = {3, 2, 0, 4};
        env.data.WortStatList = {w};
        env.data.WortAvg.v = {80, 60, 40, NoValueReal};
        tTeleStat t;
        t.Mode = 2;
        t.BestSpan = 6;
        t.MaxLevel = 7;
        env.data.TelStatList = {t};
        env.data.TelBest.v = {NoValue, 8, NoValue};
        env.data.TelAvg.v = {NoValueReal, 5.5, NoValueReal};
        env.data.TelCount.v = {0, 4, 0};
        env.data.TelTotal = 4;

        TTagDlg dlg(env.ctx);
        dlg.open();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        QVERIFY(dlg.KatFeed->isVisible());
        QVERIFY(!dlg.SeqFeed->isVisible());
        QCOMPARE(dlg.KatFeed->Data.Values[1], 75.0);
        QCOMPARE(dlg.SeqFeed->Data.TelSafeToday[2], 6.0);
        QCOMPARE(dlg.SeqFeed->Data.NumLevels, 8);
        shot(&dlg, "tagdlg_category");

        QTemporaryDir dir;
        const QString pdf = dir.filePath("tag.pdf");
        SetPrintTargetForTests(pdf);
        QTest::mouseClick(dlg.PrintBtn, Qt::LeftButton);
        QVERIFY(dlg.LastTitleFont().bold());
        QVERIFY(QFileInfo(pdf).size() > 2000);
        QCOMPARE(dlg.KatFeed->Color(), QColor(Qt::black)); // screen colours are back

        QTest::mouseClick(dlg.Group->item(1), Qt::LeftButton);
        QVERIFY(dlg.SeqFeed->isVisible());
        QVERIFY(!dlg.KatFeed->isVisible());
        shot(&dlg, "tagdlg_sequence");
        QVERIFY(QFile::remove(pdf));
        QTest::mouseClick(dlg.PrintBtn, Qt::LeftButton);
        SetPrintTargetForTests(QString());
        QVERIFY(!dlg.LastTitleFont().bold());
        QVERIFY(QFileInfo(pdf).size() > 2000);
        QCOMPARE(dlg.SeqFeed->TextColor(), QColor(215, 250, 240));

        QStringList pages;
        SetHelpPageHook([&](const QString& path) { pages << QFileInfo(path).fileName(); });
        QTest::mouseClick(dlg.TipBtn, Qt::LeftButton);
        SetHelpPageHook({});
        QCOMPARE(pages, QStringList{"stat.rtf"});

        // shown again: the first page
        dlg.done(mrOk);
        dlg.open();
        QVERIFY(dlg.KatFeed->isVisible());
        QCOMPARE(dlg.Group->itemIndex(), 0);
        dlg.done(mrOk);
    }
};

} // namespace gf::test

QTEST_MAIN(gf::test::TstTagDlg)
#include "tst_tagdlg.moc"

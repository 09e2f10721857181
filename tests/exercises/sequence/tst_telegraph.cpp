#include "support/DataSupport.h"
#include "support/GuiFixture.h"

#include "core/data/Records.h"
#include "exercises/results/tGraphPanel.h"
#include "exercises/sequence/TTeleGraphDlg.h"
#include "platform/Printing.h"
#include "toolkit/TPushButton.h"
#include "toolkit/TxMsgDlg.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace gf;

namespace gf::test {

class TstTeleGraph : public QObject
{
    Q_OBJECT

    static tTeleStat record()
    {
        return test::seqStat<tTeleStat>(3, 5, 4, {{3, 2}, {3, 1}, {4, 4}}, 10);
    }

private slots:
    void chartShowsOneBarPerLength()
    {
        test::GuiContext env;
        TTeleGraphDlg dlg(env.ctx);
        const tTeleStat s = record();
        dlg.Stat = &s;
        dlg.open();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        test::shot(&dlg, "telegraph");
        const tGraphPanel& chart = *dlg.LevelChart;
        QCOMPARE(chart.Title(), QString("Telefonvermittlung (Hören und Lesen, 10 Übungen)"));
        QCOMPARE(chart.BarCount(), 3);
        QCOMPARE(chart.Bars()[0].Caption, QString("% Länge 4"));
        QCOMPARE(chart.Bars()[0].Value, 66.7);
        QCOMPARE(chart.Bars()[1].Value, 33.3);
        QCOMPARE(chart.Bars()[2].Value, 100.0);

        // a length without tasks inside the range gets no placeholder bar
        tTeleStat gap = record();
        gap.Trials[5] = gap.Correct[5] = 0;
        dlg.fillChart(gap);
        QCOMPARE(chart.BarCount(), 2);
        QCOMPARE(chart.Bars()[1].Caption, QString("% Länge 6"));

        // printing: to PDF, with the screen colours back afterwards
        QTemporaryDir dir;
        const QString pdf = dir.filePath("chart.pdf");
        setPrintTargetForTests(pdf);
        QTest::mouseClick(dlg.PrintBtn, Qt::LeftButton);
        setPrintTargetForTests(QString());
        QVERIFY(QFileInfo(pdf).size() > 2000); // the PDF printer itself is tst_gui's
        QCOMPARE(chart.BackColor(), QColor(192, 192, 192));

        dlg.done(mrOk);
    }
};

} // namespace gf::test

QTEST_MAIN(gf::test::TstTeleGraph)
#include "tst_telegraph.moc"

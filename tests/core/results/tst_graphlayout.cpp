#include "core/results/GraphLayout.h"

#include <QtTest>

using namespace gf;

namespace gf::test {

class TstGraphLayout : public QObject
{
    Q_OBJECT

private slots:
    void fiveBarsOverFiveHundredPixels()
    {
        // height 400: depth 10 x 5; usable width 560 - 30 - 20 - 10 = 500
        const tGraphLayout g = layoutGraph(tGraphScale{}, 0, 0, 560, 400, {10, 20, 30, 40, 50});
        QCOMPARE(g.XScale, 100);
        QCOMPARE(g.Bars.size(), 5);
        for (int i = 0; i < 5; ++i) {
            QCOMPARE(g.Bars[i].X1 - g.L - 100 * i, 17);
            QCOMPARE(g.Bars[i].X2 - g.L - 100 * i, 83);
            QCOMPARE(g.Bars[i].Y2, 400 - 50);
            // guide line and caption in the middle of the bar's back face, depth 10 behind
            QCOMPARE(g.Bars[i].Xm - g.L - 100 * i, 17 + 10 + 33);
        }
        // value 50 of 100 lies half-way up the scale's pixel height
        QCOMPARE(g.Bars[4].Y1, 350 - qRound((400 - 50 - 20 - 5) / 2.0));
        QCOMPARE(g.Raster.size(), 10);
        QCOMPARE(g.Raster.last(), 100.0);
    }

    void scaleBounds()
    {
        tGraphScale s;
        s.MaxScaleVal = s.MinScaleVal = 0.0;
        const tGraphLayout g = layoutGraph(s, 0, 0, 300, 200, {40, 70});
        QCOMPARE(g.Bars[0].Y1, g.Bars[0].Y2 - 40);
        QCOMPARE(g.Bars[1].Y1, g.Bars[1].Y2 - 70);
        QVERIFY(g.Raster.isEmpty());

        // a scale not starting at zero
        s.MinScaleVal = 50;
        s.MaxScaleVal = 100;
        const tGraphLayout h = layoutGraph(s, 0, 0, 400, 400, {75, 20});
        QCOMPARE(h.Y(50), h.Bars[0].Y2);      // foot of the scale on the bars' foot
        QCOMPARE(h.Y(100), 0 + h.T + h.Dy);   // top of the scale under the title margin
        QCOMPARE(h.Bars[1].Y1, h.Bars[1].Y2); // below the scale: flat, not downwards
        QCOMPARE(h.Raster.size(), 5);
    }

    void emptyListAndUnusableRaster()
    {
        const tGraphLayout empty = layoutGraph(tGraphScale{}, 0, 0, 300, 200, {});
        QVERIFY(empty.Bars.isEmpty());
        QVERIFY(empty.Raster.isEmpty());

        tGraphScale s;
        for (double step : {0.0, -10.0, 1e-9}) {
            s.YRaster = step;
            QVERIFY(layoutGraph(s, 0, 0, 300, 200, {1}).Raster.isEmpty());
        }
        s.YRaster = 0.1; // summed steps must still reach the top line
        s.MaxScaleVal = 1.0;
        QCOMPARE(layoutGraph(s, 0, 0, 300, 200, {1}).Raster.size(), 10);
    }

    void printedMarginsFollowThePageShare()
    {
        // half the page in each direction halves the margins; the right one is raised to
        // the depth, 1000 / 40
        const tGraphLayout g =
            layoutGraph(tGraphScale{}, 1000, 500, 3000, 1500, {1, 2}, true, 4000, 2000);
        QCOMPARE(g.L, 15);
        QCOMPARE(g.T, 10);
        QCOMPARE(g.R, 25);
        QCOMPARE(g.Bars[0].Y2, 1500 - 25);
        // a quarter of the page's height: the top margin a quarter, the left one a half
        const tGraphLayout flat =
            layoutGraph(tGraphScale{}, 1000, 500, 3000, 1000, {1, 2}, true, 4000, 2000);
        QCOMPARE(flat.L, 15);
        QCOMPARE(flat.T, 5);
    }
};

} // namespace gf::test

QTEST_GUILESS_MAIN(gf::test::TstGraphLayout)
#include "tst_graphlayout.moc"

#include "exercises/results/tGraphPanel.h"

#include <QImage>
#include <QPainter>
#include <QtTest>

using namespace gf;

namespace gf::test {

class TstGraphPanel : public QObject
{
    Q_OBJECT

private slots:
    void printHeadingIsGermanWhateverTheLocale()
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        QCOMPARE(printHeadingText("Anna", QDateTime(QDate(2026, 12, 6), QTime(21, 11, 51))),
                 QString("Grips-Fix Anna, 06.12.2026 21:11:51"));
        QLocale::setDefault(QLocale::c());
    }

    void barsAreDrawnWithTheirFaces()
    {
        tGraphPanel panel;
        panel.setBarCount(5);
        const QColor colours[] = {QColor(82, 191, 160), QColor(200, 30, 30), QColor(30, 30, 200),
                                  QColor(255, 255, 0), QColor(1, 2, 3)};
        for (int i = 0; i < 5; ++i)
            panel.SetBarValue(i, QString("B%1").arg(i), colours[i], 20 * (i + 1));
        const QImage img = panel.renderImage(QSize(560, 400));
        const tGraphLayout& g = panel.lastLayout();
        QCOMPARE(g.XScale, 100);
        for (int i = 0; i < 5; ++i) {
            const auto& b = g.Bars[i];
            const QPoint front((b.X1 + b.X2) / 2, (b.Y1 + b.Y2) / 2 + 5);
            QCOMPARE(QColor(img.pixel(front)), colours[i]);
            const QPoint side(b.X2 + g.Dx / 2, (b.Y1 + b.Y2) / 2);
            QCOMPARE(QColor(img.pixel(side)), darkerFace(colours[i]));
            // above the bar's top face: background or a raster dot
            QVERIFY(QColor(img.pixel(b.X1 + 3, b.Y1 - g.Dy - 3)) != colours[i]);
        }
    }

    void fullAndEmptyBarsStayReadable()
    {
        tGraphPanel panel;
        panel.setTitle("Telefonvermittlung (nur Lesen, 9 Übungen)");
        panel.setBarCount(3);
        const QColor face(82, 191, 160);
        const double values[] = {100, 0, 66.7};
        for (int i = 0; i < 3; ++i)
            panel.SetBarValue(i, QString("B%1").arg(i), face, values[i]);
        const QImage img = panel.renderImage(QSize(560, 400));
        const tGraphLayout& g = panel.lastLayout();
        // the title, descenders included, ends above the full bar's top face
        QVERIFY(panel.lastTitleRect().bottom() < g.Bars[0].Y1 - g.Dy);
        // nothing is still a visible bar
        const auto& zero = g.Bars[1];
        QCOMPARE(QColor(img.pixel((zero.X1 + zero.X2) / 2 + 1, zero.Y2 - 1)), face);
        QCOMPARE(barValueText(66.7), QString("66,7 %"));
        // a value on the bar is in the ink that stands out from the face
        QCOMPARE(readableOn(Qt::blue), QColor(Qt::white));
        QCOMPARE(readableOn(Qt::red), QColor(Qt::black));
        QCOMPARE(readableOn(face), QColor(Qt::black));
        QCOMPARE(barValueText(100), QString("100 %"));
    }

    void emptyChartShowsOnlyItsTitle()
    {
        tGraphPanel panel;
        double lo = 1, hi = 1;
        QVERIFY(!panel.SetBarValue(0, "x", Qt::red, 5));
        QVERIFY(panel.GetMinMax(lo, hi));
        QCOMPARE(hi, 0.0);
        panel.setTitle("Treffer");
        const QImage img = panel.renderImage(QSize(400, 300));
        int titleInk = 0, otherInk = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                if (QColor(img.pixel(x, y)) != panel.BackColor())
                    ++(y < panel.TopFrame() + 4 ? titleInk : otherInk);
        QVERIFY(titleInk > 20);
        QCOMPARE(otherInk, 0);
    }

    void longTitlesShrinkOnScreenOnly()
    {
        tGraphPanel panel;
        panel.setBarCount(2);
        panel.setTopFrame(60);
        panel.setTitle("Telefonvermittlung (Hören und Lesen, 30 Übungen)");
        panel.renderImage(QSize(800, 400));
        QCOMPARE(panel.lastTitlePointSize(), 14);
        panel.renderImage(QSize(20, 400));
        QCOMPARE(panel.lastTitlePointSize(), 6); // never below

        QImage page(1000, 700, QImage::Format_RGB32);
        QPainter p(&page);
        QVERIFY(panel.PrintChart(p, 0, 0, 250, 400));
        QCOMPARE(panel.lastTitlePointSize(), 14);
        QVERIFY(!panel.Printing());
    }
};

} // namespace gf::test

QTEST_MAIN(gf::test::TstGraphPanel)
#include "tst_graphpanel.moc"

#include "search/tKatFeedback.h"
#include "sequence/SeqFeedback.h"

#include <QImage>
#include <QPainter>
#include <QTest>

using namespace gf;

namespace gf::test {

// The two panels of the daily results: fonts that follow the printed share of the page,
// the circles of the sequence page, paper without colour.
class TstFeedback : public QObject
{
    Q_OBJECT

    // A page of paper as the printer would give it.
    static QImage page() { return QImage(2000, 1400, QImage::Format_RGB32); }

    template <typename Panel> static QList<int> printedSizes(Panel& panel, int width)
    {
        QImage paper = page();
        QPainter p(&paper);
        if (!panel.PrintTo(p, 0, 0, width, 1000))
            return {};
        return panel.LastFontSizes();
    }

    template <typename Panel> static void halfWidthHalvesFonts(Panel& panel)
    {
        const QList<int> full = printedSizes(panel, 2000);
        const QList<int> half = printedSizes(panel, 1000);
        QVERIFY(!full.isEmpty());
        QCOMPARE(*std::max_element(full.begin(), full.end()), 16); // titles, whole page
        QCOMPARE(half.size(), full.size());
        for (int i = 0; i < full.size(); ++i)
            QCOMPARE(half[i], qRound(full[i] / 2.0));
    }

    // Paper gets black on white only, whatever the screen colours.
    template <typename Panel> static bool printedInGrey(Panel& panel)
    {
        QImage paper = page();
        paper.fill(Qt::white);
        {
            QPainter p(&paper);
            panel.PrintTo(p, 250, 175, 1750, 1225);
        }
        for (int y = 0; y < paper.height(); ++y)
            for (int x = 0; x < paper.width(); ++x) {
                const QRgb c = paper.pixel(x, y);
                if (qRed(c) != qGreen(c) || qGreen(c) != qBlue(c))
                    return false;
            }
        return true;
    }

private slots:
    void categoryPanel()
    {
        tKatFeedback panel;
        panel.setFont(QFont("Arial"));
        panel.SetTextColor(QColor(205, 224, 241));
        panel.Data.Values.fill(50);
        halfWidthHalvesFonts(panel);
        QVERIFY(printedInGrey(panel));

        panel.FontScale = 1.5;
        panel.RenderImage(QSize(800, 510));
        QCOMPARE(panel.LastFontSizes().first(), 24);
        QCOMPARE(panel.LineHeight(), 17);
        QVERIFY(!panel.Printing());
    }

    void sequencePanel()
    {
        SeqFeedback panel;
        panel.setFont(QFont("Arial"));
        panel.SetTextColor(QColor(215, 250, 240));
        panel.Data.NumLevels = 9;
        panel.Data.TelSafeToday.fill(5);
        panel.Data.MemoSafeEarlier.fill(4);
        // best lengths on the scale get their circle; below 3 on the telephone scale
        // or beyond the scale, none
        panel.Data.TelBestEarlier.v = {5, 2, 10};
        panel.Data.MemoBestEarlier.v = {NoValue, 1, 9};
        halfWidthHalvesFonts(panel);
        QVERIFY(printedInGrey(panel));

        panel.RenderImage(QSize(800, 512));
        QCOMPARE(panel.LineHeight(), 16);
        const QList<QPoint> circles = panel.LastCircles();
        QCOMPARE(circles.size(), 3);
        // telephone 5 (mode 1), memo 1 (mode 2), memo 9 (mode 3): one column per level
        const int column = (circles[2].x() - circles[1].x()) / 8;
        QVERIFY(column > 0);
        QCOMPARE(circles[0].x() - circles[1].x(), 4 * column);
        QVERIFY(circles[0].y() < circles[1].y() && circles[1].y() < circles[2].y());

        // too short a scale for the telephone: only the memo scale remains
        panel.Data.NumLevels = 2;
        panel.Data.TelBestEarlier.v = {2, 2, 2};
        panel.Data.MemoBestEarlier.v = {2, 2, 2};
        panel.RenderImage(QSize(800, 512));
        QCOMPARE(panel.LastCircles().size(), 3);
    }
};

} // namespace gf::test

QTEST_MAIN(gf::test::TstFeedback)
#include "tst_feedback.moc"

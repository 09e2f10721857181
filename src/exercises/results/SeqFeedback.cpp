#include "exercises/results/SeqFeedback.h"

#include "toolkit/Look.h"

#include <algorithm>
#include <cmath>

namespace gf {

namespace {
const QColor FrameGreen(0, 128, 0);
const QColor EarlierGrey(192, 192, 192);
const QColor TodayBlue(0, 0, 255);
const char* const ModeNames[3] = {"nur Hören", "nur Sehen", "Hören und Sehen"};
} // namespace

SeqFeedback::SeqFeedback(QWidget* parent) : tFeedbackPanel(parent, Qt::black)
{
    Data.TelBestEarlier.fill(NoValue);
    Data.MemoBestEarlier.fill(NoValue);
    Data.TelSafeToday.fill(NoValueReal);
    Data.MemoSafeToday.fill(NoValueReal);
    Data.TelSafeEarlier.fill(NoValueReal);
    Data.MemoSafeEarlier.fill(NoValueReal);
}

void SeqFeedback::setLineHeight(quint16 v)
{
    m_lineHeight = v;
    update();
}

void SeqFeedback::setLineDistance(quint16 v)
{
    m_lineDistance = v;
    update();
}

void SeqFeedback::setCircleRadius(quint16 v)
{
    m_circleRadius = v;
    update();
}

// What every section of the page shares: the line pitch, the scale's columns, the pens.
struct SeqFeedback::Page
{
    PanelCanvas& c;
    QPainter& painter;
    QColor ink;
    int L = 0;  // line pitch
    int LD = 0; // gap between the earlier and today's line
    int levels = 0;
    int xLeft = 0;
    int xRight = 0;
    int X0 = 0; // x of length 0
    int CW = 1; // width of one length
    int R = 0;  // radius of a best-length circle
    QPen framePen;
    QPen earlierPen;
    QPen todayPen;

    int x(int k) const { return X0 + k * CW; }
};

void SeqFeedback::drawContent(PanelCanvas& c, const QRect& area, double, bool printing)
{
    const int left = area.left(), top = area.top(), right = area.right(), bottom = area.bottom();
    Page pg{c, c.p, printing ? QColor(Qt::black) : TextColor()};
    pg.L = std::max(0, (bottom - top) / 32);
    pg.LD = pg.L / 3;
    m_lineHeight = quint16(pg.L);
    m_lineDistance = quint16(pg.LD);

    pg.levels = std::clamp(Data.NumLevels, 0, MaxScaleLevel);
    c.font(12);
    const int W = c.width(QStringLiteral("Memo.1000/100000"));
    pg.xLeft = left + LeftFrame();
    pg.xRight = right - RightFrame();
    pg.CW = std::max(1, (right - left - LeftFrame() - RightFrame() - W) / (pg.levels + 2));
    pg.X0 = pg.xLeft + W;
    pg.R = printing ? std::max({int(m_circleRadius), c.height(QStringLiteral("XXX")),
                                c.width(QStringLiteral("X"))})
                    : int(m_circleRadius);
    pg.framePen = c.pen(printing ? QColor(Qt::black) : FrameGreen, 2);
    pg.earlierPen = printing ? c.pen(Qt::black, 1, Qt::DotLine) : c.pen(EarlierGrey, 2);
    // pure blue on black is hard to see: 2.4 to 1
    const QColor todayBlue = look::pick(TodayBlue, QColor(100, 170, 255));
    pg.todayPen = printing ? c.pen(Qt::black, 2) : c.pen(todayBlue, 2);
    m_circles.clear();

    int y = top + pg.L;
    const QString title = QStringLiteral("GEDÄCHTNISSPANNE");
    const QString subject = QStringLiteral("Telefonvermittlung / Memo-Protokoll");
    // larger text: the two headings still stand apart
    for (int points = 16; points >= 8; --points) {
        c.font(points);
        if (c.width(title) + c.width(subject) + 30 <= pg.xRight - pg.xLeft)
            break;
    }
    pg.painter.setPen(pg.framePen);
    pg.painter.drawRect(QRect(QPoint(pg.xLeft - 3, y - 3),
                              QPoint(pg.xRight - 3, y + c.height(QStringLiteral("XXX")) + 3)));
    c.text(pg.xLeft, y, title, pg.ink);
    c.textRight(pg.xRight - 10, y, subject, pg.ink);
    y += 2 * pg.L;

    for (int m = 1; m <= 3; ++m)
        y = drawModeBlock(pg, m, y);

    c.font(12, true);
    c.text(pg.xLeft, y,
           QStringLiteral("Anzahl Übungen: ") + QString::number(Data.TelRunsToday) +
               QStringLiteral(" x Telefon (früher ") + QString::number(Data.TelTotal, 'f', 0) +
               QStringLiteral("), ") + QString::number(Data.MemoRunsToday) +
               QStringLiteral(" x Bilder, (früher ") + QString::number(Data.MemoTotal, 'f', 0) +
               QStringLiteral(")"),
           pg.ink);
    y += 2 * pg.L;
    drawLegend(pg, y, printing);
}

int SeqFeedback::drawModeBlock(const Page& pg, int m, int y)
{
    const int blockTop = y;
    pg.c.font(16, true);
    pg.c.text(pg.xLeft, y, QString::fromUtf8(ModeNames[m - 1]), pg.ink);
    y += 2 * pg.L;

    drawScaleRow(pg, y, 3, QStringLiteral("Tel."), Data.TelCountToday[m], Data.TelCountEarlier[m],
                 Data.TelBestEarlier[m]);
    drawSafeLine(pg, Data.TelSafeEarlier[m], y + pg.L + pg.LD, pg.earlierPen);
    drawSafeLine(pg, Data.TelSafeToday[m], y + pg.L, pg.todayPen);
    y += 3 * pg.L + pg.LD;

    drawScaleRow(pg, y, 1, QStringLiteral("Memo"), Data.MemoCountToday[m],
                 Data.MemoCountEarlier[m], Data.MemoBestEarlier[m]);
    drawSafeLine(pg, Data.MemoSafeEarlier[m], y + pg.L + pg.LD, pg.earlierPen);
    drawSafeLine(pg, Data.MemoSafeToday[m], y + pg.L, pg.todayPen);
    y += 2 * pg.L + 2 * pg.LD;

    pg.painter.setPen(pg.framePen);
    pg.painter.drawRect(QRect(QPoint(pg.xLeft - 3, blockTop), QPoint(pg.xRight - 3, y)));
    return y + 3;
}

void SeqFeedback::drawSafeLine(const Page& pg, double value, int atY, const QPen& pen)
{
    // A secure length as a line from level 1 with a dot at each end; the line stays on
    // the scale whatever a summary holds.
    if (value == NoValueReal || !std::isfinite(value))
        return;
    const int k = int(std::clamp(std::round(value), 0.0, double(pg.levels + 1)));
    const double dot = 3 * pg.c.penScale();
    pg.painter.setPen(pen);
    pg.painter.drawLine(pg.x(1), atY, pg.x(k), atY);
    pg.painter.setPen(pg.c.pen(pen.color(), 1));
    pg.painter.setBrush(pen.color());
    pg.painter.drawEllipse(QPointF(pg.x(1), atY), dot, dot);
    pg.painter.drawEllipse(QPointF(pg.x(k), atY), dot, dot);
    pg.painter.setBrush(Qt::NoBrush);
}

void SeqFeedback::drawScaleRow(const Page& pg, int y, int from, const QString& name,
                               int countToday, double countEarlier, qint32 best)
{
    // One scale of lengths from..levels with its label, counts and best-length circle.
    pg.c.font(12);
    if (from > pg.levels)
        return;
    for (int k = from; k <= pg.levels; ++k)
        pg.c.textCentred(pg.x(k), y, QString::number(k), pg.ink);
    pg.c.text(pg.xLeft, y - pg.c.lineHeight() / 2, name, pg.ink);
    pg.c.text(pg.xLeft, y + pg.L - pg.c.lineHeight() / 2,
              QStringLiteral(" n=") + QString::number(countToday) + u'/' +
                  QString::number(countEarlier, 'f', 0),
              pg.ink);
    if (best >= from && best <= pg.levels) {
        pg.painter.setPen(pg.framePen);
        pg.painter.drawEllipse(QPoint(pg.x(best), y), pg.R, pg.R);
        m_circles.append(QPoint(pg.x(best), y));
    }
}

void SeqFeedback::drawLegend(const Page& pg, int y, bool printing)
{
    PanelCanvas& c = pg.c;
    c.font(12);
    const int x1 = pg.xLeft;
    const int w = c.width(QStringLiteral("xxxxx"));
    const int mid = y + c.height(QStringLiteral("XXX")) / 2;
    const QString todayText = QStringLiteral("Sicheres Ergebnis (heute)");
    const QString earlierText = QStringLiteral("Sicheres Ergebnis (früher)");
    pg.painter.setPen(printing        ? c.pen(Qt::black, 2)
                      : look::lowVision() ? pg.todayPen
                                          : c.pen(TodayBlue, 1));
    pg.painter.drawLine(x1, mid, x1 + w, mid);
    c.text(x1 + int(std::lround(1.1 * w)), y, todayText, pg.ink);
    const int x2 = x1 + c.width(todayText) + int(std::lround(1.3 * w));
    pg.painter.setPen(pg.earlierPen);
    pg.painter.drawLine(x2, mid, x2 + w, mid);
    const int t2 = x2 + int(std::lround(1.1 * w));
    c.text(t2, y, earlierText, pg.ink);
    const int x3 = t2 + c.width(earlierText) + int(std::lround(1.2 * w));
    pg.painter.setPen(pg.framePen);
    pg.painter.drawEllipse(QRect(x3, y, 2 * pg.R, 2 * pg.R));
    c.text(x3 + 2 * pg.R, y, QStringLiteral("max. Ergebnis (früher)"), pg.ink);
}

} // namespace gf

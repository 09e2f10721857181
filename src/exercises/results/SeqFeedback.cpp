#include "exercises/results/SeqFeedback.h"

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

void SeqFeedback::SetLineHeight(quint16 v)
{
    m_lineHeight = v;
    update();
}

void SeqFeedback::SetLineDistance(quint16 v)
{
    m_lineDistance = v;
    update();
}

void SeqFeedback::SetCircleRadius(quint16 v)
{
    m_circleRadius = v;
    update();
}

void SeqFeedback::drawContent(PanelCanvas& c, const QRect& area, double, bool printing)
{
    QPainter& painter = c.p;
    const int left = area.left(), top = area.top(), right = area.right(), bottom = area.bottom();
    const QColor ink = printing ? QColor(Qt::black) : TextColor();
    const int L = std::max(0, (bottom - top) / 32);
    const int LD = L / 3;
    m_lineHeight = quint16(L);
    m_lineDistance = quint16(LD);

    const int levels = std::clamp(Data.NumLevels, 0, MaxScaleLevel);
    c.font(12);
    const int W = c.width(QStringLiteral("Memo.1000/100000"));
    const int xLeft = left + LeftFrame();
    const int xRight = right - RightFrame();
    const int CW = std::max(1, (right - left - LeftFrame() - RightFrame() - W) / (levels + 2));
    const int X0 = xLeft + W;
    auto x = [&](int k) { return X0 + k * CW; };
    const int R = printing ? std::max({int(m_circleRadius), c.height(QStringLiteral("XXX")),
                                       c.width(QStringLiteral("X"))})
                           : int(m_circleRadius);
    const QPen framePen = c.pen(printing ? QColor(Qt::black) : FrameGreen, 2);
    const QPen earlierPen = printing ? c.pen(Qt::black, 1, Qt::DotLine) : c.pen(EarlierGrey, 2);
    const QPen todayPen = printing ? c.pen(Qt::black, 2) : c.pen(TodayBlue, 2);
    m_circles.clear();

    int y = top + L;
    c.font(16);
    painter.setPen(framePen);
    painter.drawRect(QRect(QPoint(xLeft - 3, y - 3),
                           QPoint(xRight - 3, y + c.height(QStringLiteral("XXX")) + 3)));
    c.text(xLeft, y, QStringLiteral("GEDÄCHTNISSPANNE"), ink);
    c.textRight(xRight - 10, y, QStringLiteral("Telefonvermittlung / Memo-Protokoll"), ink);
    y += 2 * L;

    // A secure length as a line from level 1 with a dot at each end; the line stays on
    // the scale whatever a summary holds.
    const double dot = 3 * c.penScale();
    auto safeLine = [&](double value, int atY, const QPen& pen) {
        if (value == NoValueReal || !std::isfinite(value))
            return;
        const int k = int(std::clamp(std::round(value), 0.0, double(levels + 1)));
        painter.setPen(pen);
        painter.drawLine(x(1), atY, x(k), atY);
        painter.setPen(c.pen(pen.color(), 1));
        painter.setBrush(pen.color());
        painter.drawEllipse(QPointF(x(1), atY), dot, dot);
        painter.drawEllipse(QPointF(x(k), atY), dot, dot);
        painter.setBrush(Qt::NoBrush);
    };
    // One scale of lengths from..levels with its label, counts and best-length circle.
    auto scaleRow = [&](int from, const QString& name, int countToday, double countEarlier,
                        qint32 best) {
        c.font(12);
        if (from > levels)
            return;
        for (int k = from; k <= levels; ++k)
            c.textCentred(x(k), y, QString::number(k), ink);
        c.text(xLeft, y - c.lineHeight() / 2, name, ink);
        c.text(xLeft, y + L - c.lineHeight() / 2,
               QStringLiteral(" n=") + QString::number(countToday) + u'/' +
                   QString::number(countEarlier, 'f', 0),
               ink);
        if (best >= from && best <= levels) {
            painter.setPen(framePen);
            painter.drawEllipse(QPoint(x(best), y), R, R);
            m_circles.append(QPoint(x(best), y));
        }
    };

    for (int m = 1; m <= 3; ++m) {
        const int blockTop = y;
        c.font(16, true);
        c.text(xLeft, y, QString::fromUtf8(ModeNames[m - 1]), ink);
        y += 2 * L;

        scaleRow(3, QStringLiteral("Tel."), Data.TelCountToday[m], Data.TelCountEarlier[m],
                 Data.TelBestEarlier[m]);
        safeLine(Data.TelSafeEarlier[m], y + L + LD, earlierPen);
        safeLine(Data.TelSafeToday[m], y + L, todayPen);
        y += 3 * L + LD;

        scaleRow(1, QStringLiteral("Memo"), Data.MemoCountToday[m], Data.MemoCountEarlier[m],
                 Data.MemoBestEarlier[m]);
        safeLine(Data.MemoSafeEarlier[m], y + L + LD, earlierPen);
        safeLine(Data.MemoSafeToday[m], y + L, todayPen);
        y += 2 * L + 2 * LD;

        painter.setPen(framePen);
        painter.drawRect(QRect(QPoint(xLeft - 3, blockTop), QPoint(xRight - 3, y)));
        y += 3;
    }

    c.font(12, true);
    c.text(xLeft, y,
           QStringLiteral("Anzahl Übungen: ") + QString::number(Data.TelRunsToday) +
               QStringLiteral(" x Telefon (früher ") + QString::number(Data.TelTotal, 'f', 0) +
               QStringLiteral("), ") + QString::number(Data.MemoRunsToday) +
               QStringLiteral(" x Bilder, (früher ") + QString::number(Data.MemoTotal, 'f', 0) +
               QStringLiteral(")"),
           ink);
    y += 2 * L;

    c.font(12);
    const int x1 = xLeft;
    const int w = c.width(QStringLiteral("xxxxx"));
    const int mid = y + c.height(QStringLiteral("XXX")) / 2;
    const QString todayText = QStringLiteral("Sicheres Ergebnis (heute)");
    const QString earlierText = QStringLiteral("Sicheres Ergebnis (früher)");
    painter.setPen(printing ? c.pen(Qt::black, 2) : c.pen(TodayBlue, 1));
    painter.drawLine(x1, mid, x1 + w, mid);
    c.text(x1 + int(std::lround(1.1 * w)), y, todayText, ink);
    const int x2 = x1 + c.width(todayText) + int(std::lround(1.3 * w));
    painter.setPen(earlierPen);
    painter.drawLine(x2, mid, x2 + w, mid);
    const int t2 = x2 + int(std::lround(1.1 * w));
    c.text(t2, y, earlierText, ink);
    const int x3 = t2 + c.width(earlierText) + int(std::lround(1.2 * w));
    painter.setPen(framePen);
    painter.drawEllipse(QRect(x3, y, 2 * R, 2 * R));
    c.text(x3 + 2 * R, y, QStringLiteral("max. Ergebnis (früher)"), ink);

}

} // namespace gf

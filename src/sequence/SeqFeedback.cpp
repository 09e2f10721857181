#include "sequence/SeqFeedback.h"

#include "results/PanelCanvas.h"

#include <QPaintEvent>
#include <QScopeGuard>

#include <algorithm>
#include <cmath>

namespace gf {

namespace {
const QColor FrameGreen(0, 128, 0);
const QColor EarlierGrey(192, 192, 192);
const QColor TodayBlue(0, 0, 255);
const char* const ModeNames[3] = {"nur Hören", "nur Sehen", "Hören und Sehen"};
} // namespace

SeqFeedback::SeqFeedback(QWidget* parent) : QFrame(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
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

void SeqFeedback::SetLeftFrame(quint16 v)
{
    m_leftFrame = v;
    update();
}

void SeqFeedback::SetRightFrame(quint16 v)
{
    m_rightFrame = v;
    update();
}

void SeqFeedback::SetCircleRadius(quint16 v)
{
    m_circleRadius = v;
    update();
}

void SeqFeedback::SetColor(const QColor& c)
{
    m_color = c;
    update();
}

void SeqFeedback::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    Draw(painter, 0, 0, width(), height(), false);
}

QImage SeqFeedback::RenderImage(const QSize& size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(m_color);
    QPainter painter(&image);
    Draw(painter, 0, 0, size.width(), size.height(), false);
    return image;
}

bool SeqFeedback::PrintTo(QPainter& painter, int left, int top, int right, int bottom)
{
    if (!painter.isActive() || !painter.device())
        return false;
    return Draw(painter, left, top, right, bottom, true, painter.device()->width());
}

bool SeqFeedback::Draw(QPainter& painter, int left, int top, int right, int bottom, bool printing,
                       int pageWidth)
{
    if (m_busy)
        return false;
    m_busy = true;
    m_printing = printing;
    painter.save();
    const auto done = qScopeGuard([&] {
        painter.restore();
        m_busy = false;
    });

    const double scale = printing && pageWidth > 0 ? double(right - left) / pageWidth : 1.0;
    PanelCanvas c(painter, font().family(), FontFactor * scale, printing);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.setBrush(Qt::NoBrush);

    const QColor ink = printing ? QColor(Qt::black) : m_textColor;
    painter.fillRect(QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)),
                     printing ? QColor(Qt::white) : m_color);
    const int L = std::max(0, (bottom - top) / 32);
    const int LD = L / 3;
    m_lineHeight = quint16(L);
    m_lineDistance = quint16(LD);

    const int levels = std::clamp(Data.NumLevels, 0, MaxScaleLevel);
    c.font(12);
    const int W = c.width(QStringLiteral("Memo.1000/100000"));
    const int xLeft = left + m_leftFrame;
    const int xRight = right - m_rightFrame;
    const int CW = std::max(1, (right - left - m_leftFrame - m_rightFrame - W) / (levels + 2));
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

    m_fontSizes = c.sizes;
    return true;
}

} // namespace gf

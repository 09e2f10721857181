#include "search/tKatFeedback.h"

#include "results/PanelCanvas.h"

#include <QPaintEvent>
#include <QScopeGuard>

#include <cmath>

namespace gf {

namespace {
const QColor TodayGreen(0, 128, 0);
const QColor EarlierSilver(192, 192, 192);
const QColor LineGreen(0, 128, 0);
} // namespace

tKatFeedback::tKatFeedback(QWidget* parent) : QFrame(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    Data.Values.fill(NoValueReal);
}

void tKatFeedback::SetLineHeight(quint16 v)
{
    m_lineHeight = v;
    update();
}

void tKatFeedback::SetLeftFrame(quint16 v)
{
    m_leftFrame = v;
    update();
}

void tKatFeedback::SetRightFrame(quint16 v)
{
    m_rightFrame = v;
    update();
}

void tKatFeedback::SetTextColor(const QColor& c)
{
    m_textColor = c;
    update();
}

void tKatFeedback::SetColor(const QColor& c)
{
    m_color = c;
    update();
}

void tKatFeedback::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    Draw(painter, 0, 0, width(), height(), false);
}

QImage tKatFeedback::RenderImage(const QSize& size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(m_color);
    QPainter painter(&image);
    Draw(painter, 0, 0, size.width(), size.height(), false);
    return image;
}

bool tKatFeedback::PrintTo(QPainter& painter, int x1, int y1, int x2, int y2)
{
    if (!painter.isActive() || !painter.device())
        return false;
    return Draw(painter, x1, y1, x2, y2, true, painter.device()->width());
}

bool tKatFeedback::Draw(QPainter& painter, int x1, int y1, int x2, int y2, bool printing,
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

    const double s = printing && pageWidth > 0 ? double(x2 - x1) / pageWidth : 1.0;
    PanelCanvas c(painter, font().family(), FontScale * s, printing);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);

    painter.fillRect(QRect(QPoint(x1, y1), QPoint(x2 - 1, y2 - 1)),
                     printing ? QColor(Qt::white) : m_color);
    const int L = (y2 - y1) / 30;
    m_lineHeight = quint16(std::max(0, L));
    const int w = int(std::lround((x2 - x1) - (m_leftFrame - m_rightFrame) * s)) / 7;
    const int xl = x1 + m_leftFrame;
    const int xr = x2 - m_rightFrame;
    auto column = [&](int j) { return xl + j * w; };

    const QColor label = printing ? QColor(Qt::black) : m_textColor;
    const QColor today = printing ? QColor(Qt::black) : TodayGreen;
    const QColor earlier = printing ? QColor(Qt::black) : EarlierSilver;
    const QPen line = c.pen(printing ? QColor(Qt::black) : LineGreen, 2);

    // Title in its frame.
    const int y0 = y1 + L;
    c.font(16);
    const QString title = QStringLiteral("ARBEITSGEDÄCHTNIS");
    painter.setPen(line);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRect(QPoint(xl - 3, y0 - 3), QPoint(xr - 3, y0 + c.lineHeight() + 3)));
    c.text(xl, y0, title, label);
    c.textRight(xr - 10, y0, QStringLiteral("Wort-Fahndung/Bild-Fahndung"), label);

    c.font(14);
    const char* const levels[4] = {"Stufe I", "Stufe II", "Stufe III", "Stufe IV"};
    for (int j = 0; j < 4; ++j)
        c.textRight(column(j + 2), y0 + 3 * L, QString::fromLatin1(levels[j]), label);

    auto valueRow = [&](int top, int first, const QColor& colour) {
        c.font(14);
        for (int j = 0; j < 4; ++j)
            c.textRight(column(j + 2), top, KatValueText(Data.Values[first + j]), colour);
    };
    auto rowLabel = [&](int top, const QString& text, bool bold) {
        c.font(16, bold);
        c.text(bold ? xl : column(6), top, text, label);
    };
    auto rule = [&](int y) {
        painter.setPen(line);
        painter.drawLine(xl, y, xr, y);
    };

    valueRow(y0 + 7 * L, 1, today);
    rowLabel(y0 + 7 * L, QStringLiteral("heute"), false);
    rowLabel(y0 + 9 * L, QStringLiteral("Wörter"), true);
    valueRow(y0 + 11 * L, 5, earlier);
    rowLabel(y0 + 11 * L, QStringLiteral("früher"), false);
    rule(y0 + 15 * L);
    valueRow(y0 + 17 * L, 9, today);
    rowLabel(y0 + 17 * L, QStringLiteral("heute"), false);
    rowLabel(y0 + 19 * L, QStringLiteral("Bilder"), true);
    valueRow(y0 + 21 * L, 13, earlier);
    rowLabel(y0 + 21 * L, QStringLiteral("früher"), false);
    rule(y0 + 24 * L);

    c.font(11, true);
    c.text(xl, y0 + 25 * L,
           QStringLiteral("Anzahl Übungen: ") + QString::number(Data.WordCount) +
               QStringLiteral("x Wörter (früher ") + QString::number(Data.WortTotal, 'f', 0) +
               QStringLiteral("), ") + QString::number(Data.PictureCount) +
               QStringLiteral(" x Bilder (früher ") + QString::number(Data.BildTotal, 'f', 0) +
               QStringLiteral(")"),
           label);
    c.font(10);
    c.text(xl, y0 + 27 * L,
           QStringLiteral("Stufen:  I=letztes , II=vorletztes, III=drittletztes, "
                          "IV=viertletztes Wort/Bild abgefragt"),
           label);

    m_fontSizes = c.sizes;
    return true;
}

} // namespace gf

#include "exercises/results/tKatFeedback.h"

#include "toolkit/Look.h"

#include <cmath>

namespace gf {

namespace {
const QColor TodayGreen(0, 128, 0);
const QColor EarlierSilver(192, 192, 192);
const QColor LineGreen(0, 128, 0);
} // namespace

tKatFeedback::tKatFeedback(QWidget* parent) : tFeedbackPanel(parent, QColor(0, 0, 128))
{
    Data.Values.fill(NoValueReal);
}

void tKatFeedback::setLineHeight(quint16 v)
{
    m_lineHeight = v;
    update();
}

void tKatFeedback::drawContent(PanelCanvas& c, const QRect& area, double s, bool printing)
{
    QPainter& painter = c.p;
    const int x1 = area.left(), y1 = area.top(), x2 = area.right(), y2 = area.bottom();
    const int L = (y2 - y1) / 30;
    m_lineHeight = quint16(std::max(0, L));
    const int w = int(std::lround((x2 - x1) - (LeftFrame() - RightFrame()) * s)) / 7;
    const int xl = x1 + LeftFrame();
    const int xr = x2 - RightFrame();
    auto column = [&](int j) { return xl + j * w; };

    const QColor label = printing ? QColor(Qt::black) : TextColor();
    // dark green on black: 4.1 to 1
    const QColor today = printing ? QColor(Qt::black) : look::pick(TodayGreen, QColor(60, 220, 60));
    const QColor earlier = printing ? QColor(Qt::black) : EarlierSilver;
    const QPen line = c.pen(printing ? QColor(Qt::black) : LineGreen, 2);

    // Title in its frame.
    const int y0 = y1 + L;
    const QString title = QStringLiteral("ARBEITSGEDÄCHTNIS");
    const QString subject = QStringLiteral("Wort-Fahndung/Bild-Fahndung");
    // larger text: the two headings still stand apart
    for (int points = 16; points >= 8; --points) {
        c.font(points);
        if (c.width(title) + c.width(subject) + 30 <= xr - xl)
            break;
    }
    painter.setPen(line);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRect(QPoint(xl - 3, y0 - 3), QPoint(xr - 3, y0 + c.lineHeight() + 3)));
    c.text(xl, y0, title, label);
    c.textRight(xr - 10, y0, subject, label);

    c.font(14);
    const char* const levels[4] = {"Stufe I", "Stufe II", "Stufe III", "Stufe IV"};
    for (int j = 0; j < 4; ++j)
        c.textRight(column(j + 2), y0 + 3 * L, QString::fromLatin1(levels[j]), label);

    auto valueRow = [&](int top, int first, const QColor& colour) {
        c.font(14);
        for (int j = 0; j < 4; ++j)
            c.textRight(column(j + 2), top, katValueText(Data.Values[first + j]), colour);
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

}

} // namespace gf

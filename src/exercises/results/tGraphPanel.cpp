#include "exercises/results/tGraphPanel.h"

#include "core/data/Formats.h"
#include "core/data/ProgramData.h"
#include "core/data/Random.h"
#include "core/data/Records.h"
#include "core/data/Timing.h"
#include "render/PanelCanvas.h"
#include "toolkit/Look.h"

#include <QDateTime>
#include <QFontMetrics>
#include <QImage>
#include <QLocale>
#include <QPaintEvent>
#include <QPainter>
#include <QPolygon>
#include <algorithm>
#include <cmath>

namespace gf {

namespace {
const QString TitleFamily = QStringLiteral("Comic Sans MS");
constexpr int TitlePointSize = 14;
constexpr int SmallestTitle = 6;
constexpr int CaptionPointSize = 9;
constexpr int TickLength = 10;
} // namespace

QColor darkerFace(const QColor& c)
{
    auto half = [](int v) { return std::max(0, v - int(std::lround(v / 2.0))); };
    return QColor(half(c.red()), half(c.green()), half(c.blue()));
}

tGraphPanel::tGraphPanel(QWidget* parent) : QFrame(parent)
{
    setAutoFillBackground(false);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void tGraphPanel::setBackColor(const QColor& colour)
{
    m_backColor = colour;
    update();
}

void tGraphPanel::setBarColor(const QColor& colour)
{
    m_barColor = colour;
    update();
}

void tGraphPanel::setBackLineColor(const QColor& colour)
{
    m_backLineColor = colour;
    update();
}

void tGraphPanel::setFrameWidth(quint16 width)
{
    m_frameWidth = width;
    update();
}

void tGraphPanel::setYRaster(double v)
{
    m_scale.YRaster = v;
    update();
}

void tGraphPanel::setLeftFrame(quint16 v)
{
    m_scale.LeftFrame = v;
    update();
}

void tGraphPanel::setRightFrame(quint16 v)
{
    m_scale.RightFrame = v;
    update();
}

void tGraphPanel::setTopFrame(quint16 v)
{
    m_scale.TopFrame = v;
    update();
}

void tGraphPanel::setBottomFrame(quint16 v)
{
    m_scale.BottomFrame = v;
    update();
}

void tGraphPanel::setBarCount(quint16 count)
{
    m_bars.clear();
    Random& random = rng();
    for (int i = 0; i < count; ++i) {
        tBarValue bar;
        bar.Value = i == 0 ? 100.0 : double(random.uniform(60, 89));
        bar.Color = QColor(random.uniform(0, 254), random.uniform(0, 254), random.uniform(0, 254));
        bar.Caption = QStringLiteral("Bar") + QString::number(i);
        m_bars << bar;
    }
    m_xScale = 1.0;
    m_yScale = 1.0;
    update();
}

bool tGraphPanel::SetBarValue(int index, const QString& caption, const QColor& colour, double value)
{
    if (m_bars.isEmpty())
        return false;
    if (index >= 0 && index < m_bars.size())
        m_bars[index] = tBarValue{colour, value, caption};
    return true;
}

bool tGraphPanel::GetMinMax(double& min, double& max) const
{
    min = max = 0.0;
    if (m_bars.isEmpty())
        return true;
    const auto [lo, hi] = std::minmax_element(
        m_bars.begin(), m_bars.end(),
        [](const tBarValue& a, const tBarValue& b) { return a.Value < b.Value; });
    min = lo->Value;
    max = hi->Value;
    return true;
}

QVector<double> tGraphPanel::values() const
{
    QVector<double> v;
    v.reserve(m_bars.size());
    for (const tBarValue& b : m_bars)
        v << b.Value;
    return v;
}

void tGraphPanel::paintEvent(QPaintEvent*)
{
    // What is drawn is also what a screen reader reads: the title and every bar's value.
    QStringList values{m_title};
    for (const tBarValue& b : m_bars)
        values << b.Caption + QStringLiteral(": ") + barValueText(b.Value);
    if (const QString text = values.join(QLatin1Char('\n')); accessibleDescription() != text)
        setAccessibleDescription(text);
    QPainter painter(this);
    m_printing = false;
    drawChart(painter, 0, 0, width(), height(), false);
}

QImage tGraphPanel::renderImage(const QSize& size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(m_backColor);
    QPainter painter(&image);
    drawChart(painter, 0, 0, size.width(), size.height(), false);
    return image;
}

bool tGraphPanel::PrintChart(QPainter& painter, int left, int top, int right, int bottom)
{
    if (!painter.isActive() || !painter.device())
        return false;
    const bool ok = drawChart(painter, left, top, right, bottom, true, painter.device()->width(),
                              painter.device()->height());
    return ok;
}

bool tGraphPanel::drawChart(QPainter& p, int left, int top, int right, int bottom, bool printing,
                            int pageWidth, int pageHeight)
{
    if (m_drawing)
        return false;
    m_drawing = true;
    m_printing = printing;
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);

    p.fillRect(QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)), m_backColor);
    p.setPen(QPen(m_barColor, m_frameWidth));
    p.setBrush(m_backColor);

    const tGraphLayout g =
        layoutGraph(m_scale, left, top, right, bottom, values(), printing, pageWidth, pageHeight);
    m_layout = g;
    drawTitle(p, g, left, top, right, printing);

    QFont smallFont(font().family());
    smallFont.setPointSizeF(printing ? CaptionPointSize : CaptionPointSize * look::textScale());
    // The low-vision look's larger scale numbers keep to the margin left of the chart.
    while (!printing && smallFont.pointSizeF() > CaptionPointSize &&
           QFontMetrics(smallFont, p.device()).horizontalAdvance(QStringLiteral("100")) + 6 > g.L)
        smallFont.setPointSizeF(smallFont.pointSizeF() - 0.5);
    p.setFont(smallFont);
    const QFontMetrics sm(smallFont, p.device());

    if (!m_bars.isEmpty()) {
        m_xScale = g.XScale;
        m_yScale = g.YScale;
        const QColor lineColour = printing ? QColor(Qt::black) : m_backLineColor;
        drawRaster(p, g, sm, left, right, printing, lineColour);
        const int yTop = g.Y(m_scale.MaxScaleVal);
        for (int i = 0; i < m_bars.size(); ++i)
            drawBar(p, g, sm, i, yTop, lineColour);
    }

    p.restore();
    m_printing = false;
    m_drawing = false;
    return true;
}

void tGraphPanel::drawTitle(QPainter& p, const tGraphLayout& g, int left, int top, int right,
                            bool printing)
{
    // On screen the title shrinks until it fits above the chart; paper has room.
    QFont titleFont(TitleFamily);
    titleFont.setPointSize(printing ? TitlePointSize : qRound(TitlePointSize * look::textScale()));
    QFontMetrics fm(titleFont, p.device());
    // The title stands clear of the tallest bar's top face.
    const int titleRoom = g.T - g.Dy - 1;
    if (!printing) {
        while (fm.height() > titleRoom && titleFont.pointSize() > SmallestTitle) {
            titleFont.setPointSize(titleFont.pointSize() - 1);
            fm = QFontMetrics(titleFont, p.device());
        }
        while (fm.horizontalAdvance(m_title) > right - left - g.L - g.R &&
               titleFont.pointSize() > SmallestTitle) {
            titleFont.setPointSize(titleFont.pointSize() - 1);
            fm = QFontMetrics(titleFont, p.device());
        }
    }
    m_titlePointSize = titleFont.pointSize();
    p.setFont(titleFont);
    p.setPen(m_barColor);
    const int titleX = left + g.L + (right - left - g.L - g.R - fm.horizontalAdvance(m_title)) / 2;
    const int titleY = top + titleRoom - fm.height();
    m_titleRect = QRect(titleX, titleY, fm.horizontalAdvance(m_title), fm.height());
    drawWatchedText(p, titleX, titleY + fm.ascent(), m_title);
}

void tGraphPanel::drawRaster(QPainter& p, const tGraphLayout& g, const QFontMetrics& sm, int left,
                             int right, bool printing, const QColor& lineColour)
{
    const int labelGap = printing ? 25 : 5;
    const QPen dotted(m_backLineColor, 1, Qt::DotLine);
    for (double v : g.Raster) {
        const int y = g.Y(v);
        p.setPen(dotted);
        p.drawLine(left + g.L, y, right - g.R, y);
        const QString label = QString::number(v, 'f', 0);
        const int w = sm.horizontalAdvance(label);
        p.setPen(m_barColor);
        drawWatchedText(p, left + g.L - labelGap - w, y - sm.height() / 2 + sm.ascent(), label);
    }
    // Frame.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(lineColour, 1, Qt::SolidLine));
    p.drawRect(QRect(QPoint(left + g.L, g.Y(m_scale.MaxScaleVal)),
                     QPoint(right - g.R, g.Y(m_scale.MinScaleVal))));
}

void tGraphPanel::drawBar(QPainter& p, const tGraphLayout& g, const QFontMetrics& sm, int i,
                          int yTop, const QColor& lineColour)
{
    const tBarValue& bar = m_bars[i];
    const tGraphLayout::Bar& b = g.Bars[i];

    // Guide line up from the bar, tick and caption beneath it.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(lineColour, 1, Qt::DotLine));
    p.drawLine(b.Xm, b.Y2 - 1, b.Xm, yTop + 1);
    p.setPen(QPen(m_backLineColor, 1, Qt::SolidLine));
    p.drawLine(b.Xm, b.Y2, b.Xm, b.Y2 + TickLength);
    const int cw = sm.horizontalAdvance(bar.Caption);
    const int captionTop = b.Y2 + TickLength + sm.height();
    p.fillRect(QRect(b.Xm - cw / 2, captionTop, cw, sm.height()), m_backColor);
    p.setPen(m_barColor);
    drawWatchedText(p, b.Xm - cw / 2, captionTop + sm.ascent(), bar.Caption);

    // Front, side and top faces.
    p.setPen(QPen(m_backLineColor, 1, Qt::SolidLine));
    p.setBrush(bar.Color);
    p.drawPolygon(
        QPolygon({QPoint(b.X1, b.Y2), QPoint(b.X2, b.Y2), QPoint(b.X2, b.Y1), QPoint(b.X1, b.Y1)}));
    p.setBrush(darkerFace(bar.Color));
    p.drawPolygon(QPolygon({QPoint(b.X2, b.Y2), QPoint(b.X2 + g.Dx, b.Y2 - g.Dy),
                            QPoint(b.X2 + g.Dx, b.Y1 - g.Dy), QPoint(b.X2, b.Y1)}));
    p.drawPolygon(QPolygon({QPoint(b.X1, b.Y1), QPoint(b.X2, b.Y1), QPoint(b.X2 + g.Dx, b.Y1 - g.Dy),
                            QPoint(b.X1 + g.Dx, b.Y1 - g.Dy)}));
    // A bar of nothing is still seen: a baseline in the bar's colour.
    const int baseline = std::max(2, (b.Y2 - yTop) / 60);
    if (b.Y2 - b.Y1 < baseline)
        p.fillRect(QRect(b.X1, b.Y2 - baseline, b.X2 - b.X1 + 1, baseline), bar.Color);

    // The value, inside the top of a bar tall enough to hold it, else above it.
    const QString value = barValueText(bar.Value);
    const int vw = sm.horizontalAdvance(value);
    const int vx = (b.X1 + b.X2) / 2 - vw / 2;
    const bool inside = b.Y2 - b.Y1 >= sm.height() + 4;
    const int vy = inside ? b.Y1 + 2 : std::min(b.Y1, b.Y2 - baseline) - g.Dy - sm.height();
    p.setPen(inside ? readableOn(bar.Color) : m_barColor);
    drawWatchedText(p, vx, vy + sm.ascent(), value);
}

QString barValueText(double value)
{
    const bool whole = std::abs(value - std::round(value)) < 0.05;
    return QLocale(QLocale::German).toString(value, 'f', whole ? 0 : 1) + QStringLiteral(" %");
}

QColor readableOn(const QColor& face)
{
    // Perceived brightness, not HSL lightness: pure blue and pure red have the same
    // lightness, but black reads on red and only white reads on blue.
    auto linear = [](int c) {
        const double v = c / 255.0;
        return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    const double luminance = 0.2126 * linear(face.red()) + 0.7152 * linear(face.green()) +
                             0.0722 * linear(face.blue());
    // The contrasts of black and of white against the face are equal at 0.179.
    return luminance < 0.179 ? QColor(Qt::white) : QColor(Qt::black);
}

QString printHeadingText(const QString& name, const QDateTime& when)
{
    return QStringLiteral("Grips-Fix ") + name + QStringLiteral(", ") + formatShortDate(when.date()) +
           u' ' + formatLongTime(when.time());
}

QString printHeadingText(const tProgramData* data)
{
    const QString name = data && data->CurrentUser ? data->CurrentUser->Name : QString();
    return printHeadingText(name, data ? data->clock().now() : QDateTime::currentDateTime());
}

QFont drawPageHeading(QPainter& painter, const QString& heading, bool bold)
{
    QFont font(look::Arial);
    font.setPointSize(14);
    font.setBold(bold);
    painter.save();
    painter.setFont(font);
    const QFontMetrics fm(font, painter.device());
    const int w = fm.horizontalAdvance(heading);
    const QRect box((painter.device()->width() - w) / 2, 50, w, fm.height());
    painter.fillRect(box, Qt::white);
    painter.setPen(Qt::black);
    painter.drawText(box.left(), box.top() + fm.ascent(), heading);
    painter.restore();
    return font;
}

} // namespace gf

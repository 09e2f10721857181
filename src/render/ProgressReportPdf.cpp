#include "render/ProgressReportPdf.h"

#include "core/data/Formats.h"
#include "core/results/ProgressReport.h"
#include "sys/DataFiles.h"

#include <QBuffer>
#include <QFileInfo>
#include <QFontMetrics>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>

#include <algorithm>
#include <cmath>
#include <functional>

namespace gf {

namespace {

const QString Family = QStringLiteral("Arial");

enum Marker
{
    FilledCircle,
    OpenSquare,
    FilledTriangle,
    OpenDiamond
};

// The look of the series at a place of a chart: black and white, so line styles and
// marker shapes tell the lines apart.
Qt::PenStyle seriesStyle(int index)
{
    static const Qt::PenStyle styles[4] = {Qt::SolidLine, Qt::DashLine, Qt::DotLine,
                                           Qt::DashDotLine};
    return styles[index % 4];
}

Marker seriesMarker(int index)
{
    return Marker(index % 4);
}

// Sizes in device pixels for a page, so the drawing reads the same at any resolution.
struct Units
{
    double mm;     // one millimetre
    double stroke; // line width of the series
};

QFont font(double points, bool bold = false)
{
    QFont f(Family);
    f.setPointSizeF(points);
    f.setBold(bold);
    return f;
}

void text(QPainter& p, int x, int top, const QString& s)
{
    p.drawText(x, top + QFontMetrics(p.font(), p.device()).ascent(), s);
}

void drawMarker(QPainter& p, QPointF c, Marker marker, double size)
{
    const double h = size / 2;
    const bool filled = marker == FilledCircle || marker == FilledTriangle;
    p.setBrush(filled ? QBrush(Qt::black) : QBrush(Qt::white));
    switch (marker) {
    case FilledCircle:
        p.drawEllipse(c, h, h);
        break;
    case OpenSquare:
        p.drawRect(QRectF(c.x() - h, c.y() - h, size, size));
        break;
    case FilledTriangle:
        p.drawPolygon(QPolygonF({QPointF(c.x(), c.y() - h), QPointF(c.x() + h, c.y() + h),
                                 QPointF(c.x() - h, c.y() + h)}));
        break;
    case OpenDiamond:
        p.drawPolygon(QPolygonF({QPointF(c.x(), c.y() - h), QPointF(c.x() + h, c.y()),
                                 QPointF(c.x(), c.y() + h), QPointF(c.x() - h, c.y())}));
        break;
    }
    p.setBrush(Qt::NoBrush);
}

// A sample of a series' line and marker followed by its name, from x; returns the end.
int legendEntry(QPainter& p, int x, int top, const tReportSeries& s, int index, const Units& u)
{
    const QFontMetrics fm(p.font(), p.device());
    const int mid = top + fm.height() / 2;
    const int len = int(12 * u.mm);
    p.setPen(QPen(Qt::black, u.stroke, seriesStyle(index), Qt::FlatCap));
    p.drawLine(x, mid, x + len, mid);
    p.setPen(QPen(Qt::black, u.stroke * 0.7));
    drawMarker(p, QPointF(x + len / 2.0, mid), seriesMarker(index), 2.4 * u.mm);
    text(p, x + len + int(2 * u.mm), top, s.name);
    return x + len + int(2 * u.mm) + fm.horizontalAdvance(s.name) + int(8 * u.mm);
}

// A line chart over the weeks: a value scale from 0 to yMax at the left, the weeks
// along the foot, each series as a line through its values with a marker at every value.
// A week without a value breaks the line. Returns the x of each week.
QList<double> drawChart(QPainter& p, const QRect& area, const QStringList& weeks,
                        const tReportChart& chart, int labelColumn, const Units& u)
{
    // A scale of more than 50 lines would be unreadable (and slow to draw).
    const double yMax = chart.yMax > 0 && std::isfinite(chart.yMax) ? chart.yMax : 1;
    const double yStep = chart.yStep > 0 && yMax / chart.yStep <= 50 ? chart.yStep : yMax / 50;
    const QString& unit = chart.unit;
    p.setFont(font(9));
    const QFontMetrics fm(p.font(), p.device());
    const QRect plot(area.left() + labelColumn, area.top() + fm.height() / 2,
                     area.width() - labelColumn, area.height() - fm.height() / 2 - 2 * fm.height());
    auto yOf = [&](double v) { return plot.bottom() - v / yMax * plot.height(); };

    p.setPen(QPen(QColor(150, 150, 150), std::max(1.0, u.stroke / 3), Qt::DotLine));
    for (double v = 0; v <= yMax + 1e-9; v += yStep) {
        const int y = int(std::lround(yOf(v)));
        p.drawLine(plot.left(), y, plot.right(), y);
    }
    p.setPen(Qt::black);
    for (double v = 0; v <= yMax + 1e-9; v += yStep) {
        const QString label = QString::number(v, 'f', 0) + unit;
        text(p, plot.left() - int(2 * u.mm) - fm.horizontalAdvance(label),
             int(std::lround(yOf(v))) - fm.height() / 2, label);
    }
    p.setPen(QPen(Qt::black, std::max(1.0, u.stroke / 2)));
    p.drawRect(plot);

    const int n = int(weeks.size());
    const double slot = n > 0 ? double(plot.width()) / n : plot.width();
    QList<double> xs;
    for (int i = 0; i < n; ++i)
        xs << plot.left() + slot * (i + 0.5);

    // Week labels, thinned out where they would run into each other.
    const int labelWidth = fm.horizontalAdvance(QStringLiteral("2004-W10")) + int(3 * u.mm);
    const int step = std::max(1, int(std::ceil(labelWidth / std::max(1.0, slot))));
    for (int i = 0; i < n; i += step) {
        const int x = int(std::lround(xs[i]));
        p.drawLine(x, plot.bottom(), x, plot.bottom() + int(1.5 * u.mm));
        text(p, x - fm.horizontalAdvance(weeks[i]) / 2, plot.bottom() + int(2 * u.mm), weeks[i]);
    }

    p.setRenderHint(QPainter::Antialiasing, true);
    for (int k = 0; k < chart.series.size(); ++k) {
        const tReportSeries& s = chart.series[k];
        p.setPen(QPen(Qt::black, u.stroke, seriesStyle(k), Qt::FlatCap, Qt::RoundJoin));
        for (int i = 0; i + 1 < n; ++i)
            if (s.values[i] && s.values[i + 1])
                p.drawLine(QPointF(xs[i], yOf(*s.values[i])),
                           QPointF(xs[i + 1], yOf(*s.values[i + 1])));
        p.setPen(QPen(Qt::black, u.stroke * 0.7));
        for (int i = 0; i < n; ++i)
            if (s.values[i])
                drawMarker(p, QPointF(xs[i], yOf(*s.values[i])), seriesMarker(k), 2.4 * u.mm);
    }
    p.setRenderHint(QPainter::Antialiasing, false);
    return xs;
}

// Rows of counts under the chart, one number per week.
int drawCounts(QPainter& p, int top, int left, const QList<double>& xs,
               const QList<QPair<QString, QList<int>>>& rows, const Units& u)
{
    p.setFont(font(9));
    const QFontMetrics fm(p.font(), p.device());
    p.setPen(Qt::black);
    const double slot = xs.size() > 1 ? xs[1] - xs[0] : 1e9;
    const bool fits = slot >= fm.horizontalAdvance(QStringLiteral("999")) + u.mm;
    int y = top;
    text(p, left, y, QStringLiteral("Anzahl der Übungen je Woche"));
    y += fm.height();
    if (!fits) {
        text(p, left, y, QStringLiteral("(zu viele Wochen für eine Tabelle; siehe JSON-Ausgabe)"));
        return y + fm.height();
    }
    for (const auto& row : rows) {
        text(p, left, y, row.first);
        for (int i = 0; i < xs.size(); ++i) {
            const QString n = QString::number(row.second[i]);
            text(p, int(std::lround(xs[i])) - fm.horizontalAdvance(n) / 2, y, n);
        }
        y += fm.height();
    }
    return y;
}

} // namespace

namespace {

// Title, page number, detective, period and date, and a line when logs were damaged;
// returns where the charts may begin.
int drawPageHead(QPainter& p, const QRect& page, const tProgressReport& report,
                 const tReportPage& content, int pageNo, const QDate& today, const Units& u)
{
    int y = page.top();
    p.setFont(font(18, true));
    text(p, page.left(), y, QStringLiteral("Grips-Fix – Trainingsverlauf: ") + content.title);
    p.setFont(font(10));
    const QString pageText = QStringLiteral("Seite %1 von %2").arg(pageNo).arg(ProgressReportPages);
    text(p, page.right() - QFontMetrics(p.font(), p.device()).horizontalAdvance(pageText), y,
         pageText);
    y += QFontMetrics(font(18, true), p.device()).height() + int(1 * u.mm);

    p.setFont(font(12));
    const QFontMetrics fm12(p.font(), p.device());
    text(p, page.left(), y,
         QStringLiteral("Detektiv: ") + report.name + QStringLiteral("     Zeitraum: ") +
             reportPeriodText(report.days) + QStringLiteral("     Bericht vom ") +
             formatShortDate(today));
    y += fm12.height();
    if (!report.damaged.isEmpty()) {
        QStringList names;
        for (const DamagedLog& log : report.damaged)
            names << QFileInfo(log.fileName).fileName();
        p.setFont(font(12, true));
        text(p, page.left(), y,
             QStringLiteral("Unvollständig: nicht ganz lesbare Ergebnisdateien (") +
                 names.join(QStringLiteral(", ")) +
                 QStringLiteral("); was darin nicht zu lesen war, fehlt im Bericht."));
        y += fm12.height();
    }
    if (!report.undated.isEmpty()) {
        p.setFont(font(12, true));
        text(p, page.left(), y,
             QStringLiteral("Unvollständig: %1 Ergebnisse ohne gültiges Datum fehlen im Bericht.")
                 .arg(report.undated.size()));
        y += fm12.height();
    }
    // This page's left-out values, the first few by name.
    constexpr int Named = 3;
    p.setFont(font(10));
    const QFontMetrics fm10(p.font(), p.device());
    for (int i = 0; i < std::min<int>(Named, int(content.leftOut.size())); ++i) {
        text(p, page.left(), y, QStringLiteral("Nicht im Diagramm: ") + content.leftOut[i]);
        y += fm10.height();
    }
    if (content.leftOut.size() > Named) {
        text(p, page.left(), y,
             QStringLiteral("… und %1 weitere (siehe JSON-Bericht).")
                 .arg(content.leftOut.size() - Named));
        y += fm10.height();
    }
    return y + int(3 * u.mm);
}

// A chart's title and legend above it; returns where the chart itself begins.
int drawChartHeading(QPainter& p, int left, int top, int labelColumn, const tReportChart& chart,
                     const Units& u)
{
    p.setFont(font(12, true));
    p.setPen(Qt::black);
    text(p, left, top, chart.title);
    int x = left + labelColumn;
    const int legendTop = top + QFontMetrics(p.font(), p.device()).height() + int(1 * u.mm);
    p.setFont(font(10));
    for (int k = 0; k < chart.series.size(); ++k)
        x = legendEntry(p, x, legendTop, chart.series[k], k, u);
    return legendTop + QFontMetrics(p.font(), p.device()).height() + int(2 * u.mm);
}

void drawEmptyNote(QPainter& p, const QRect& area, bool noWeeks)
{
    p.setFont(font(14));
    p.setPen(Qt::black);
    p.drawText(area, Qt::AlignCenter,
               noWeeks ? QStringLiteral("Keine Ergebnisse in diesem Zeitraum.")
                       : QStringLiteral("Keine Ergebnisse dieser Übung in diesem Zeitraum."));
}

} // namespace

void drawProgressPage(QPainter& p, const QRect& page, const tProgressReport& report,
                      ExerciseKind exercise, const QDate& today)
{
    const double dpi = p.device() ? p.device()->logicalDpiX() : 96.0;
    const Units u{dpi / 25.4, std::max(1.0, dpi / 25.4 * 0.5)};
    const tReportPage content = reportPage(report, exercise);
    const int pageNo = int(std::find(std::begin(ReportPageOrder), std::end(ReportPageOrder),
                                     exercise) -
                           std::begin(ReportPageOrder)) +
                       1;

    p.save();
    p.fillRect(page, Qt::white);
    p.setPen(Qt::black);
    const int y = drawPageHead(p, page, report, content, pageNo, today, u);

    p.setFont(font(9));
    const QFontMetrics fm9(p.font(), p.device());
    const int labelColumn =
        fm9.horizontalAdvance(QStringLiteral("Hören und Sehen")) + int(4 * u.mm);
    const int footerHeight = int(content.counts.size() + 3) * fm9.height() + int(6 * u.mm);
    const int chartsBottom = page.bottom() - footerHeight;

    // The charts share the room between head and counts evenly.
    const int charts = int(content.charts.size());
    const int share = (chartsBottom - y) / std::max(1, charts);
    QList<double> xs;
    for (int i = 0; i < charts; ++i) {
        const int slotTop = y + i * share;
        const int slotBottom = i + 1 < charts ? slotTop + share - int(3 * u.mm) : chartsBottom;
        const int top = drawChartHeading(p, page.left(), slotTop, labelColumn, content.charts[i], u);
        const QRect area(page.left(), top, page.width(), slotBottom - top);
        xs = drawChart(p, area, content.weeks, content.charts[i], labelColumn, u);
        if (content.records == 0)
            drawEmptyNote(p, area, content.weeks.isEmpty());
    }

    if (!content.weeks.isEmpty())
        drawCounts(p, chartsBottom + int(2 * u.mm), page.left(), xs, content.counts, u);
    p.setFont(font(8));
    p.setPen(Qt::black);
    text(p, page.left(), page.bottom() - QFontMetrics(p.font(), p.device()).height(), content.note);
    p.restore();
}

bool writeProgressReportPdf(const tProgressReport& report, const QString& fileName,
                            const QDate& today, QString* error)
{
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setResolution(300);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape,
                                         QMarginsF(12, 12, 12, 12), QPageLayout::Millimeter));
        writer.setCreator(QStringLiteral("Grips-Fix"));
        writer.setTitle(QStringLiteral("Grips-Fix Trainingsverlauf ") + report.name);
        QPainter painter;
        if (!painter.begin(&writer)) {
            if (error)
                *error = QStringLiteral("Der PDF-Bericht kann nicht angelegt werden.");
            return false;
        }
        for (ExerciseKind exercise : ReportPageOrder) {
            if (exercise != ReportPageOrder[0])
                writer.newPage();
            drawProgressPage(painter, QRect(0, 0, writer.width(), writer.height()), report,
                             exercise, today);
        }
        painter.end();
    }
    return files::replace(fileName, bytes, error);
}

} // namespace gf

#include "render/ProgressReportPdf.h"

#include "core/data/Formats.h"
#include "core/results/ProgressReport.h"
#include "render/PanelCanvas.h"
#include "render/PdfFile.h"

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

enum Marker
{
    FilledCircle,
    OpenSquare,
    FilledTriangle,
    OpenDiamond
};

// Line styles and marker shapes tell the series apart without colour.
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

// The page being drawn: painter, look and units.
struct Page
{
    QPainter& p;
    const tProgressLook& look;
    Units u;

    QFont font(double points, bool bold = false) const
    {
        QFont f(look.family);
        f.setPointSizeF(points * look.textScale);
        f.setBold(bold);
        return f;
    }
    void setFont(double points, bool bold = false) { p.setFont(font(points, bold)); }
    QFontMetrics metrics() const { return QFontMetrics(p.font(), p.device()); }
    void text(int x, int top, const QString& s)
    {
        p.setPen(look.ink);
        drawWatchedText(p, x, top + metrics().ascent(), s);
    }
    QColor colour(int series) const
    {
        return look.series.isEmpty() ? look.ink : look.series[series % look.series.size()];
    }
    double markerSize() const { return 2.4 * u.mm * look.textScale; }
};

void drawMarker(Page& pg, QPointF c, int series)
{
    QPainter& p = pg.p;
    const double size = pg.markerSize(), h = size / 2;
    const Marker marker = seriesMarker(series);
    const bool filled = marker == FilledCircle || marker == FilledTriangle;
    p.setPen(QPen(pg.colour(series), pg.u.stroke * 0.7));
    p.setBrush(filled ? QBrush(pg.colour(series)) : QBrush(pg.look.background));
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
int legendEntry(Page& pg, int x, int top, const tReportSeries& s, int index)
{
    const QFontMetrics fm = pg.metrics();
    const int mid = top + fm.height() / 2;
    const int len = int(12 * pg.u.mm * pg.look.textScale);
    pg.p.setPen(QPen(pg.colour(index), pg.u.stroke, seriesStyle(index), Qt::FlatCap));
    pg.p.drawLine(x, mid, x + len, mid);
    drawMarker(pg, QPointF(x + len / 2.0, mid), index);
    pg.text(x + len + int(2 * pg.u.mm), top, s.name);
    return x + len + int(2 * pg.u.mm) + fm.horizontalAdvance(s.name) + int(8 * pg.u.mm);
}

// A line chart over the weeks: a value scale from 0 to yMax at the left, the weeks
// along the foot, each series as a line through its values with a marker at every value.
// A week without a value breaks the line. Returns the x of each week.
QList<double> drawChart(Page& pg, const QRect& area, const QStringList& weeks,
                        const tReportChart& chart, int labelColumn)
{
    QPainter& p = pg.p;
    const Units& u = pg.u;
    // A scale of more than 50 lines would be unreadable (and slow to draw).
    const double yMax = chart.yMax > 0 && std::isfinite(chart.yMax) ? chart.yMax : 1;
    double yStep = chart.yStep > 0 && yMax / chart.yStep <= 50 ? chart.yStep : yMax / 50;
    pg.setFont(9);
    const QFontMetrics fm = pg.metrics();
    const QRect plot(area.left() + labelColumn, area.top() + fm.height() / 2,
                     area.width() - labelColumn, area.height() - fm.height() / 2 - 2 * fm.height());
    auto yOf = [&](double v) { return plot.bottom() - v / yMax * plot.height(); };
    // Scale labels at least a line apart, in steps that end at the top of the scale.
    if (plot.height() * yStep / yMax < fm.height()) {
        const double base = yStep;
        yStep = yMax;
        for (double k : {2.0, 4.0, 5.0, 10.0, 20.0, 25.0, 50.0}) {
            const double step = base * k;
            if (plot.height() * step / yMax >= fm.height() &&
                std::abs(std::remainder(yMax, step)) < 1e-9) {
                yStep = std::min(yStep, step);
                break;
            }
        }
    }

    p.setPen(QPen(pg.look.grid, std::max(1.0, u.stroke / 3), Qt::DotLine));
    for (double v = 0; v <= yMax + 1e-9; v += yStep) {
        const int y = int(std::lround(yOf(v)));
        p.drawLine(plot.left(), y, plot.right(), y);
    }
    for (double v = 0; v <= yMax + 1e-9; v += yStep) {
        const QString label = QString::number(v, 'f', 0) + chart.unit;
        pg.text(plot.left() - int(2 * u.mm) - fm.horizontalAdvance(label),
                int(std::lround(yOf(v))) - fm.height() / 2, label);
    }
    p.setPen(QPen(pg.look.ink, std::max(1.0, u.stroke / 2)));
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
        p.setPen(pg.look.ink);
        p.drawLine(x, plot.bottom(), x, plot.bottom() + int(1.5 * u.mm));
        pg.text(x - fm.horizontalAdvance(weeks[i]) / 2, plot.bottom() + int(2 * u.mm), weeks[i]);
    }

    p.setRenderHint(QPainter::Antialiasing, true);
    for (int k = 0; k < chart.series.size(); ++k) {
        const tReportSeries& s = chart.series[k];
        p.setPen(QPen(pg.colour(k), u.stroke, seriesStyle(k), Qt::FlatCap, Qt::RoundJoin));
        for (int i = 0; i + 1 < n; ++i)
            if (s.values[i] && s.values[i + 1])
                p.drawLine(QPointF(xs[i], yOf(*s.values[i])),
                           QPointF(xs[i + 1], yOf(*s.values[i + 1])));
        for (int i = 0; i < n; ++i)
            if (s.values[i])
                drawMarker(pg, QPointF(xs[i], yOf(*s.values[i])), k);
    }
    p.setRenderHint(QPainter::Antialiasing, false);
    return xs;
}

// Rows of counts under the chart, one number per week; a week without training shows
// nothing.
int drawCounts(Page& pg, int top, int left, const QList<double>& xs,
               const QList<QPair<QString, QList<int>>>& rows, int records)
{
    pg.setFont(9);
    const QFontMetrics fm = pg.metrics();
    const double slot = xs.size() > 1 ? xs[1] - xs[0] : 1e9;
    const bool fits = slot >= fm.horizontalAdvance(QStringLiteral("999")) + pg.u.mm;
    int y = top;
    if (!pg.look.compact) {
        pg.text(left, y, QStringLiteral("Anzahl der Übungen je Woche"));
        y += fm.height();
    }
    if (!fits) {
        pg.text(left, y,
                QStringLiteral("(zu viele Wochen für eine Tabelle; %1 Übungen im Zeitraum)")
                    .arg(records));
        return y + fm.height();
    }
    for (const auto& row : rows) {
        pg.text(left, y, row.first);
        for (int i = 0; i < xs.size(); ++i) {
            if (row.second[i] == 0)
                continue;
            const QString n = QString::number(row.second[i]);
            pg.text(int(std::lround(xs[i])) - fm.horizontalAdvance(n) / 2, y, n);
        }
        y += fm.height();
    }
    return y;
}

// Heading, exercise, period and date, and a line when logs were damaged; returns where
// the charts may begin.
int drawPageHead(Page& pg, const QRect& page, const tProgressReport& report,
                 const tReportPage& content, const QDate& today)
{
    int y = page.top();
    if (pg.look.heading) {
        pg.setFont(18, true);
        pg.text(page.left(), y, progressHeading(report.name));
        if (pg.look.pageNo > 0) {
            pg.setFont(10);
            const QString pageText =
                QStringLiteral("Seite %1 von %2").arg(pg.look.pageNo).arg(ProgressReportPages);
            pg.text(page.right() - pg.metrics().horizontalAdvance(pageText), y, pageText);
        }
        y += QFontMetrics(pg.font(18, true), pg.p.device()).height() + int(1 * pg.u.mm);
    }
    pg.setFont(14, true);
    pg.text(page.left(), y, content.title);
    const int titleWidth = pg.metrics().horizontalAdvance(content.title);
    const int titleHeight = pg.metrics().height();
    pg.setFont(12);
    QString period = QStringLiteral("Zeitraum: ") + reportPeriodText(report.days);
    if (!pg.look.compact)
        period += QStringLiteral("     Stand: ") + formatShortDate(today);
    const int line12 = pg.metrics().height();
    int x = page.left() + titleWidth + int(8 * pg.u.mm);
    // Large type on a small screen: the period goes beneath the title.
    if (x + pg.metrics().horizontalAdvance(period) > page.right()) {
        x = page.left();
        y += titleHeight;
        pg.text(x, y, period);
        y += line12;
    } else {
        pg.text(x, y + titleHeight - line12, period);
        y += titleHeight;
    }
    pg.setFont(12, true);
    if (!report.damaged.isEmpty()) {
        QStringList names;
        for (const DamagedLog& log : report.damaged)
            names << QFileInfo(log.fileName).fileName();
        pg.text(page.left(), y,
                QStringLiteral("Unvollständig: nicht ganz lesbare Ergebnisdateien (") +
                    names.join(QStringLiteral(", ")) +
                    QStringLiteral("); was darin nicht zu lesen war, fehlt im Bericht."));
        y += line12;
    }
    if (!report.undated.isEmpty()) {
        pg.text(
            page.left(), y,
            QStringLiteral("Unvollständig: %1 Ergebnisse ohne gültiges Datum fehlen im Bericht.")
                .arg(report.undated.size()));
        y += line12;
    }
    // This page's left-out values, the first few by name.
    constexpr int Named = 3;
    pg.setFont(10);
    const int line10 = pg.metrics().height();
    for (int i = 0; i < std::min<int>(Named, int(content.leftOut.size())); ++i) {
        pg.text(page.left(), y, QStringLiteral("Nicht im Diagramm: ") + content.leftOut[i]);
        y += line10;
    }
    if (content.leftOut.size() > Named) {
        pg.text(page.left(), y,
                QStringLiteral("… und %1 weitere (siehe JSON-Bericht).")
                    .arg(content.leftOut.size() - Named));
        y += line10;
    }
    return y + int(3 * pg.u.mm);
}

// A chart's title and legend above it; returns where the chart itself begins.
int drawChartHeading(Page& pg, int left, int top, int labelColumn, const tReportChart& chart,
                     bool legend)
{
    pg.setFont(12, true);
    pg.text(left, top, chart.title);
    int x = left + labelColumn;
    const int legendTop = top + pg.metrics().height() + int(1 * pg.u.mm);
    if (!legend)
        return legendTop + int(1 * pg.u.mm);
    pg.setFont(10);
    // larger text: an entry that would run past the edge starts a new line
    int lineTop = legendTop;
    for (int k = 0; k < chart.series.size(); ++k) {
        const int width = int(12 * pg.u.mm * pg.look.textScale) + int(2 * pg.u.mm) +
                          pg.metrics().horizontalAdvance(chart.series[k].name);
        if (x > left + labelColumn && x + width > pg.p.window().right()) {
            x = left + labelColumn;
            lineTop += pg.metrics().height() + int(1 * pg.u.mm);
        }
        x = legendEntry(pg, x, lineTop, chart.series[k], k);
    }
    return lineTop + pg.metrics().height() + int(2 * pg.u.mm);
}

void drawEmptyNote(Page& pg, const QRect& area, bool noWeeks)
{
    pg.setFont(14);
    pg.p.setPen(pg.look.ink);
    drawWatchedText(pg.p, area, Qt::AlignCenter | Qt::TextWordWrap,
                    noWeeks ? QStringLiteral("Keine Ergebnisse in diesem Zeitraum.")
                            : QStringLiteral("Keine Ergebnisse dieser Übung in diesem Zeitraum."));
}

} // namespace

QString progressHeading(const QString& name)
{
    return QStringLiteral("Grips-Fix – Trainingsverlauf: ") + name;
}

void drawProgressPage(QPainter& p, const QRect& page, const tProgressReport& report,
                      ExerciseKind exercise, const QDate& today, const tProgressLook& look)
{
    const double dpi = p.device() ? p.device()->logicalDpiX() : 96.0;
    Page pg{p, look, Units{dpi / 25.4, std::max(1.0, dpi / 25.4 * 0.5)}};
    const tReportPage content = reportPage(report, exercise);

    p.save();
    p.fillRect(page, look.background);
    const int y = drawPageHead(pg, page, report, content, today);

    pg.setFont(9);
    const QFontMetrics fm9 = pg.metrics();
    const int labelColumn =
        fm9.horizontalAdvance(QStringLiteral("Hören und Sehen")) + int(4 * pg.u.mm);
    const int noteHeight = look.note ? QFontMetrics(pg.font(8), p.device()).height() : 0;
    QList<QPair<QString, QList<int>>> counts = content.counts;
    if (look.compact && counts.size() > 1) {
        for (int r = 1; r < counts.size(); ++r)
            for (int i = 0; i < counts[0].second.size(); ++i)
                counts[0].second[i] += counts[r].second[i];
    }
    if (look.compact)
        counts = {qMakePair(QStringLiteral("Übungen"), counts.value(0).second)};
    const int footerHeight =
        int(counts.size() + (look.compact ? 0 : 2)) * fm9.height() + noteHeight + int(4 * pg.u.mm);
    const int chartsBottom = page.bottom() - footerHeight;

    // The charts share the room between head and counts evenly.
    const int charts = int(content.charts.size());
    const int share = (chartsBottom - y) / std::max(1, charts);
    QList<double> xs;
    for (int i = 0; i < charts; ++i) {
        const int slotTop = y + i * share;
        const int slotBottom = i + 1 < charts ? slotTop + share - int(3 * pg.u.mm) : chartsBottom;
        const int top = drawChartHeading(pg, page.left(), slotTop, labelColumn, content.charts[i],
                                         !look.compact || i == 0);
        const QRect area(page.left(), top, page.width(), slotBottom - top);
        xs = drawChart(pg, area, content.weeks, content.charts[i], labelColumn);
        if (content.records == 0)
            drawEmptyNote(pg, area.adjusted(labelColumn, 0, 0, 0), content.weeks.isEmpty());
    }

    if (!content.weeks.isEmpty())
        drawCounts(pg, chartsBottom + int(2 * pg.u.mm), page.left(), xs, counts, content.records);
    if (look.note) {
        pg.setFont(8);
        pg.text(page.left(), page.bottom() - pg.metrics().height(), content.note);
    }
    p.restore();
}

bool writeProgressReportPdf(const tProgressReport& report, const QString& fileName,
                            const QDate& today, QString* error)
{
    const auto draw = [&](QPainter& painter, QPdfWriter& writer) {
        tProgressLook paper;
        for (ExerciseKind exercise : ReportPageOrder) {
            if (exercise != ReportPageOrder[0])
                writer.newPage();
            ++paper.pageNo;
            drawProgressPage(painter, QRect(0, 0, writer.width(), writer.height()), report,
                             exercise, today, paper);
        }
    };
    return writeA4Pdf(fileName, QPageLayout::Landscape, 12,
                      QStringLiteral("Grips-Fix Trainingsverlauf ") + report.name,
                      QStringLiteral("Der PDF-Bericht kann nicht angelegt werden."), draw, error);
}

} // namespace gf

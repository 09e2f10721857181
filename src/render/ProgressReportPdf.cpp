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

// One line of a chart: a value per week, or none.
struct Series
{
    QString name;
    QList<std::optional<double>> values;
    Qt::PenStyle style;
    Marker marker;
};

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
int legendEntry(QPainter& p, int x, int top, const Series& s, const Units& u)
{
    const QFontMetrics fm(p.font(), p.device());
    const int mid = top + fm.height() / 2;
    const int len = int(12 * u.mm);
    p.setPen(QPen(Qt::black, u.stroke, s.style, Qt::FlatCap));
    p.drawLine(x, mid, x + len, mid);
    p.setPen(QPen(Qt::black, u.stroke * 0.7));
    drawMarker(p, QPointF(x + len / 2.0, mid), s.marker, 2.4 * u.mm);
    text(p, x + len + int(2 * u.mm), top, s.name);
    return x + len + int(2 * u.mm) + fm.horizontalAdvance(s.name) + int(8 * u.mm);
}

// A line chart over the weeks: a value scale from 0 to yMax at the left, the weeks
// along the foot, each series as a line through its values with a marker at every value.
// A week without a value breaks the line. Returns the x of each week.
QList<double> drawChart(QPainter& p, const QRect& area, const QStringList& weeks,
                        const QList<Series>& series, double yMax, double yStep, const QString& unit,
                        int labelColumn, const Units& u)
{
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
    for (const Series& s : series) {
        p.setPen(QPen(Qt::black, u.stroke, s.style, Qt::FlatCap, Qt::RoundJoin));
        for (int i = 0; i + 1 < n; ++i)
            if (s.values[i] && s.values[i + 1])
                p.drawLine(QPointF(xs[i], yOf(*s.values[i])),
                           QPointF(xs[i + 1], yOf(*s.values[i + 1])));
        p.setPen(QPen(Qt::black, u.stroke * 0.7));
        for (int i = 0; i < n; ++i)
            if (s.values[i])
                drawMarker(p, QPointF(xs[i], yOf(*s.values[i])), s.marker, 2.4 * u.mm);
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

// The top of a length scale: room above the highest value, at least 10.
double lengthScaleTop(double highest)
{
    return std::max(10.0, std::floor(highest) + 1);
}

} // namespace

void DrawProgressPage(QPainter& p, const QRect& page, const tProgressReport& report, int exercise,
                      const QDate& today)
{
    const double dpi = p.device() ? p.device()->logicalDpiX() : 96.0;
    const Units u{dpi / 25.4, std::max(1.0, dpi / 25.4 * 0.5)};
    static const char* const Titles[ProgressReportPages] = {"Wort-Fahndung", "Bild-Fahndung",
                                                            "Telefonvermittlung", "Memo-Protokoll"};
    const bool search = exercise < 2;

    p.save();
    p.fillRect(page, Qt::white);
    p.setPen(Qt::black);
    int y = page.top();

    p.setFont(font(18, true));
    text(p, page.left(), y,
         QStringLiteral("Grips-Fix – Trainingsverlauf: ") + QString::fromUtf8(Titles[exercise]));
    p.setFont(font(10));
    const QString pageNo =
        QStringLiteral("Seite %1 von %2").arg(exercise + 1).arg(ProgressReportPages);
    text(p, page.right() - QFontMetrics(p.font(), p.device()).horizontalAdvance(pageNo), y, pageNo);
    y += QFontMetrics(font(18, true), p.device()).height() + int(1 * u.mm);

    p.setFont(font(12));
    const QFontMetrics fm12(p.font(), p.device());
    text(p, page.left(), y,
         QStringLiteral("Detektiv: ") + report.name + QStringLiteral("     Zeitraum: ") +
             ReportPeriodText(report.days) + QStringLiteral("     Bericht vom ") +
             FormatShortDate(today));
    y += fm12.height();
    if (!report.complete()) {
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
    y += int(3 * u.mm);

    QStringList weeks;
    for (const tReportWeek& w : report.weeks)
        weeks << w.label();
    const int n = int(weeks.size());

    // The series and the counts of this exercise.
    auto katSeries = [&](tReportKat tReportWeek::*kind) {
        static const Qt::PenStyle styles[4] = {Qt::SolidLine, Qt::DashLine, Qt::DotLine,
                                               Qt::DashDotLine};
        static const char* const names[4] = {"Stufe I", "Stufe II", "Stufe III", "Stufe IV"};
        QList<Series> list;
        for (int l = 1; l <= 4; ++l) {
            Series s{QString::fromLatin1(names[l - 1]), {}, styles[l - 1], Marker(l - 1)};
            for (const tReportWeek& w : report.weeks)
                s.values << (w.*kind).percent(l);
            list << s;
        }
        return list;
    };
    static const char* const ModeNames[3] = {"nur Hören", "nur Sehen", "Hören und Sehen"};
    auto seqSeries = [&](RangeArray<tReportMode, 1, 3> tReportWeek::*kind, bool mean) {
        static const Qt::PenStyle styles[3] = {Qt::SolidLine, Qt::DashLine, Qt::DotLine};
        QList<Series> list;
        for (int m = 1; m <= 3; ++m) {
            Series s{QString::fromUtf8(ModeNames[m - 1]), {}, styles[m - 1], Marker(m - 1)};
            for (const tReportWeek& w : report.weeks) {
                const tReportMode& r = (w.*kind)[m];
                if (mean)
                    s.values << r.meanSpan();
                else if (const auto level = r.highestLevel())
                    s.values << std::optional<double>(*level);
                else
                    s.values << std::nullopt;
            }
            list << s;
        }
        return list;
    };

    QList<QPair<QString, QList<int>>> counts;
    int records = 0;
    if (search) {
        tReportKat tReportWeek::*kind = exercise == 0 ? &tReportWeek::word : &tReportWeek::picture;
        QList<int> row;
        for (const tReportWeek& w : report.weeks)
            row << (w.*kind).count;
        counts << qMakePair(QStringLiteral("Übungen"), row);
    } else {
        auto kind = exercise == 2 ? &tReportWeek::telephone : &tReportWeek::memo;
        for (int m = 1; m <= 3; ++m) {
            QList<int> row;
            for (const tReportWeek& w : report.weeks)
                row << (w.*kind)[m].count;
            counts << qMakePair(QString::fromUtf8(ModeNames[m - 1]), row);
        }
    }
    for (const auto& row : counts)
        for (int c : row.second)
            records += c;

    p.setFont(font(9));
    const QFontMetrics fm9(p.font(), p.device());
    const int labelColumn =
        fm9.horizontalAdvance(QStringLiteral("Hören und Sehen")) + int(4 * u.mm);
    const int footerHeight = int(counts.size() + 3) * fm9.height() + int(6 * u.mm);
    const int chartsBottom = page.bottom() - footerHeight;

    auto heading = [&](int top, const QString& title, const QList<Series>& series) {
        p.setFont(font(12, true));
        p.setPen(Qt::black);
        text(p, page.left(), top, title);
        int x = page.left() + labelColumn;
        const int legendTop = top + QFontMetrics(p.font(), p.device()).height() + int(1 * u.mm);
        p.setFont(font(10));
        for (const Series& s : series)
            x = legendEntry(p, x, legendTop, s, u);
        return legendTop + QFontMetrics(p.font(), p.device()).height() + int(2 * u.mm);
    };
    auto emptyNote = [&](const QRect& area) {
        p.setFont(font(14));
        p.setPen(Qt::black);
        p.drawText(area, Qt::AlignCenter,
                   n == 0 ? QStringLiteral("Keine Ergebnisse in diesem Zeitraum.")
                          : QStringLiteral("Keine Ergebnisse dieser Übung in diesem Zeitraum."));
    };

    QList<double> xs;
    if (search) {
        const QList<Series> series =
            katSeries(exercise == 0 ? &tReportWeek::word : &tReportWeek::picture);
        const int top = heading(y, QStringLiteral("Richtige Antworten je Stufe (Prozent)"), series);
        const QRect area(page.left(), top, page.width(), chartsBottom - top);
        xs = drawChart(p, area, weeks, series, 100, 20, QStringLiteral(" %"), labelColumn, u);
        if (records == 0)
            emptyNote(area);
    } else {
        auto kind = exercise == 2 ? &tReportWeek::telephone : &tReportWeek::memo;
        const QList<Series> mean = seqSeries(kind, true);
        const QList<Series> best = seqSeries(kind, false);
        double highest = 0;
        for (const QList<Series>* list : {&mean, &best})
            for (const Series& s : *list)
                for (const auto& v : s.values)
                    if (v)
                        highest = std::max(highest, *v);
        const double yMax = lengthScaleTop(highest);
        const double yStep = yMax > 12 ? 2 : 1;
        const int half = (chartsBottom - y) / 2;
        int top = heading(y, QStringLiteral("Sicheres Ergebnis (Mittel der Woche)"), mean);
        QRect area(page.left(), top, page.width(), y + half - int(3 * u.mm) - top);
        drawChart(p, area, weeks, mean, yMax, yStep, QString(), labelColumn, u);
        if (records == 0)
            emptyNote(area);
        top = heading(y + half, QStringLiteral("Größte erreichte Länge der Woche"), best);
        area = QRect(page.left(), top, page.width(), chartsBottom - top);
        xs = drawChart(p, area, weeks, best, yMax, yStep, QString(), labelColumn, u);
        if (records == 0)
            emptyNote(area);
    }

    if (n > 0)
        drawCounts(p, chartsBottom + int(2 * u.mm), page.left(), xs, counts, u);
    p.setFont(font(8));
    p.setPen(Qt::black);
    const QString note =
        search ? QStringLiteral("Stufe I: das zuletzt gezeigte Wort oder Bild wurde abgefragt, "
                                "II: das vorletzte, III: das drittletzte, IV: das viertletzte. "
                                "Wochen ohne Übungen sind ausgelassen.")
               : QStringLiteral("Sicheres Ergebnis: die größte Länge, bei der beide Aufgaben "
                                "eines Zweierblocks richtig waren. Länge: Anzahl der Ziffern oder "
                                "Ereignisse einer Folge. Wochen ohne Übungen sind ausgelassen.");
    text(p, page.left(), page.bottom() - QFontMetrics(p.font(), p.device()).height(), note);
    p.restore();
}

bool WriteProgressReportPdf(const tProgressReport& report, const QString& fileName,
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
        for (int page = 0; page < ProgressReportPages; ++page) {
            if (page > 0)
                writer.newPage();
            DrawProgressPage(painter, QRect(0, 0, writer.width(), writer.height()), report, page,
                             today);
        }
        painter.end();
    }
    return files::replace(fileName, bytes, error);
}

} // namespace gf

#include "render/OverviewPdf.h"

#include "core/data/Formats.h"
#include "core/results/ProgressReport.h"
#include "core/results/TrainingOverview.h"
#include "render/PdfFile.h"

#include <QBuffer>
#include <QFileInfo>
#include <QFontMetrics>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>

namespace gf {

namespace {

QFont font(double points, bool bold = false)
{
    QFont f(QStringLiteral("Arial"));
    f.setPointSizeF(points);
    f.setBold(bold);
    return f;
}

// Column starts as shares of the page width: name, last day, 7 and 28 days, four trends.
constexpr double Columns[] = {0.0, 0.24, 0.41, 0.50, 0.60, 0.70, 0.80, 0.90};

class OverviewPages
{
public:
    OverviewPages(QPainter& p, const QRect& page, const tOverview& o) : p(p), m_page(page), o(o)
    {
        p.setFont(font(10));
        m_line = QFontMetrics(p.font(), p.device()).height() * 13 / 10;
    }

    // The lines above the table on every page; returns where the table begins.
    int head(int pageNo, int pages)
    {
        int y = m_page.top();
        p.setPen(Qt::black);
        p.setFont(font(16, true));
        text(m_page.left(), y, QStringLiteral("Grips-Fix – Trainingsübersicht"));
        p.setFont(font(10));
        const QString pageText = QStringLiteral("Seite %1 von %2").arg(pageNo).arg(pages);
        text(m_page.right() - QFontMetrics(p.font(), p.device()).horizontalAdvance(pageText), y,
             pageText);
        y += QFontMetrics(font(16, true), p.device()).height();
        p.setFont(font(11));
        text(m_page.left(), y, QStringLiteral("Stand: %1").arg(formatShortDate(o.to)));
        y += m_line;
        p.setFont(font(9));
        text(m_page.left(), y,
             QStringLiteral("Übungen der letzten 7 und 28 Tage; Verlauf je Bereich: die letzten "
                            "4 Wochen gegen die 4 Wochen davor"));
        y += m_line;
        if (!o.complete()) {
            p.setFont(font(10, true));
            QStringList names;
            for (const DamagedLog& log : o.damaged)
                names << QFileInfo(log.fileName).fileName();
            QString line = QStringLiteral("Unvollständig: ");
            if (!names.isEmpty())
                line += QStringLiteral("nicht ganz lesbare Dateien (%1). ")
                            .arg(names.join(QStringLiteral(", ")));
            if (!o.undated.isEmpty())
                line += QStringLiteral("%1 Ergebnisse ohne gültiges Datum.").arg(o.undated.size());
            const QRect box(m_page.left(), y, m_page.width(), 3 * m_line);
            QRect used;
            p.drawText(box, Qt::TextWordWrap, line, &used);
            y += used.height() + m_line / 2;
        }
        y += m_line / 2;
        p.setFont(font(10, true));
        const QStringList titles = {QStringLiteral("Detektiv"), QStringLiteral("Letztes Training"),
                                    QStringLiteral("7 Tage"), QStringLiteral("28 Tage")};
        for (int c = 0; c < 4; ++c)
            text(column(c), y, titles[c]);
        for (int a = 0; a < 4; ++a)
            text(column(4 + a), y, shortTitle(ReportPageOrder[a]));
        y += m_line;
        p.setPen(QPen(Qt::black, std::max(1, m_line / 20)));
        p.drawLine(m_page.left(), y, m_page.right(), y);
        return y + m_line / 4;
    }

    void row(int y, const tOverviewRow& r)
    {
        p.setFont(font(10));
        p.setPen(Qt::black);
        const QFontMetrics fm(p.font(), p.device());
        text(column(0), y,
             fm.elidedText(r.name, Qt::ElideRight, column(1) - column(0) - m_line / 2));
        text(column(1), y,
             r.lastDay.isValid() ? formatShortDate(r.lastDay) : QStringLiteral("nie"));
        text(column(2), y, QString::number(r.last7));
        text(column(3), y, QString::number(r.last28));
        for (int a = 0; a < 4; ++a)
            text(column(4 + a), y, trendText(r.trend[a]));
    }

    int rowsPerPage(int tableTop) const
    {
        return std::max(1, (m_page.bottom() - tableTop) / m_line);
    }
    int line() const { return m_line; }

private:
    static QString shortTitle(ExerciseKind exercise)
    {
        switch (exercise) {
        case ExerciseKind::Wort:
            return QStringLiteral("Wort");
        case ExerciseKind::Bild:
            return QStringLiteral("Bild");
        case ExerciseKind::Tel:
            return QStringLiteral("Telefon");
        default:
            return QStringLiteral("Memo");
        }
    }
    int column(int c) const { return m_page.left() + int(Columns[c] * m_page.width()); }
    void text(int x, int top, const QString& s)
    {
        p.drawText(x, top + QFontMetrics(p.font(), p.device()).ascent(), s);
    }

    QPainter& p;
    QRect m_page;
    const tOverview& o;
    int m_line = 0;
};

} // namespace

bool writeOverviewPdf(const tOverview& overview, const QString& fileName, QString* error)
{
    const auto draw = [&](QPainter& painter, QPdfWriter& writer) {
        OverviewPages pages(painter, QRect(0, 0, writer.width(), writer.height()), overview);
        // The head is the same on every page, so the first one tells the room left.
        painter.save();
        const int tableTop = pages.head(1, 1);
        painter.restore();
        painter.fillRect(QRect(0, 0, writer.width(), writer.height()), Qt::white);
        const int perPage = pages.rowsPerPage(tableTop);
        const int count = int(overview.rows.size());
        const int total = std::max(1, (count + perPage - 1) / perPage);
        for (int n = 0; n < total; ++n) {
            if (n > 0)
                writer.newPage();
            int y = pages.head(n + 1, total);
            for (int i = n * perPage; i < std::min(count, (n + 1) * perPage); ++i) {
                pages.row(y, overview.rows[i]);
                y += pages.line();
            }
        }
        if (count == 0) {
            painter.setFont(font(12));
            painter.drawText(QRect(0, tableTop, writer.width(), 4 * pages.line()), Qt::AlignCenter,
                             QStringLiteral("In diesem Datenordner gibt es keine Detektive."));
        }
    };
    return writeA4Pdf(fileName, QPageLayout::Portrait, 15,
                      QStringLiteral("Grips-Fix Trainingsübersicht"),
                      QStringLiteral("Die PDF-Übersicht kann nicht angelegt werden."), draw, error);
}

} // namespace gf

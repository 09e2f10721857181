#pragma once

#include "core/data/Records.h"

#include <QColor>
#include <QDate>
#include <QList>
#include <QString>

class QPainter;
class QRect;

namespace gf {

struct tProgressReport;

// The progress report on paper: one A4 landscape page per exercise (word search,
// picture search, telephone switchboard, memo protocol) with line charts over the
// weeks, in black and white.
constexpr int ProgressReportPages = 4;

// Colours and type of a progress page. The default is paper: black on white, line
// styles and marker shapes telling the lines apart. The screen gives the program's
// colours and larger type; the shapes stay, so no value depends on colour alone.
struct tProgressLook
{
    QColor background{Qt::white};
    QColor ink{Qt::black}; // texts, frames, scale
    QColor grid{150, 150, 150};
    QList<QColor> series{QColor(Qt::black)}; // by a series' place, repeated
    QString family = QStringLiteral("Arial");
    double textScale = 1.0; // on every font size and marker
    int pageNo = 0;         // "Seite n von 4" when above 0
    bool heading = true;    // the program's heading with the detective's name
    bool note = true;       // the explanation at the foot
    // Room for large type: no date, one legend for charts that share their series, and
    // one row of counts for all modes.
    bool compact = false;
};

// Draws the page of one exercise into the rectangle of an active painter: the same
// routine for the screen, the printer and the PDF file.
void drawProgressPage(QPainter& painter, const QRect& page, const tProgressReport& report,
                      ExerciseKind exercise, const QDate& today,
                      const tProgressLook& look = tProgressLook());

// "Grips-Fix – Trainingsverlauf: NAME"
QString progressHeading(const QString& name);

// Writes the PDF file; an earlier file is replaced only when the whole report is written.
bool writeProgressReportPdf(const tProgressReport& report, const QString& fileName,
                            const QDate& today, QString* error);

} // namespace gf

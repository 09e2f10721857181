#pragma once

#include "core/data/Records.h"

#include <QDate>
#include <QString>

class QPainter;
class QRect;

namespace gf {

struct tProgressReport;

// The progress report on paper: one A4 landscape page per exercise (word search,
// picture search, telephone switchboard, memo protocol) with line charts over the
// weeks, in black and white.
constexpr int ProgressReportPages = 4;

// Draws the page of one exercise into the rectangle of an active painter.
void drawProgressPage(QPainter& painter, const QRect& page, const tProgressReport& report,
                      ExerciseKind exercise, const QDate& today);

// Writes the PDF file; an earlier file is replaced only when the whole report is written.
bool writeProgressReportPdf(const tProgressReport& report, const QString& fileName,
                            const QDate& today, QString* error);

} // namespace gf

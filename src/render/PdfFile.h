#pragma once

#include <QPageLayout>
#include <QString>

#include <functional>

class QPainter;
class QPdfWriter;

namespace gf {

// Draws an A4 PDF in memory and then replaces fileName with it in one step, so that a
// failed write never leaves half a file. `cannotBegin` is the message when no painter
// can be started on the page.
bool writeA4Pdf(const QString& fileName, QPageLayout::Orientation orientation, qreal marginMm,
                const QString& title, const QString& cannotBegin,
                const std::function<void(QPainter&, QPdfWriter&)>& draw, QString* error);

} // namespace gf

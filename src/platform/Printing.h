#pragma once

#include <QString>
#include <functional>
#include <memory>

class QPrinter;
class QWidget;

namespace gf {

// Runs the print dialog for a landscape page. Without any printer the dialog is
// preset to print into a PDF file in the documents folder. Null when cancelled.
std::unique_ptr<QPrinter> choosePrinter(QWidget* parent);

// The PDF file offered when no printer exists.
QString defaultPdfFileName();

// Answers choosePrinter instead of the dialog (null = cancelled). Empty restores it.
using ChoosePrinterHook = std::function<std::unique_ptr<QPrinter>(QWidget* parent)>;
void setChoosePrinterHook(ChoosePrinterHook hook);
// Skips the dialog and prints into this PDF file; empty restores the dialog.
void setPrintTargetForTests(const QString& pdfPath);

// A landscape printer writing the PDF file pdfPath.
std::unique_ptr<QPrinter> createPdfPrinter(const QString& pdfPath);

} // namespace gf

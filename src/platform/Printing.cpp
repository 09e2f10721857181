#include "platform/Printing.h"

#include "platform/DataFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

namespace gf {

namespace {
ChoosePrinterHook g_hook;
} // namespace

QString defaultPdfFileName()
{
    QString dir = commonDocumentsDir();
    // A PDF aimed at a folder that does not exist would fail without a word.
    if (dir.isEmpty() || !QFileInfo(dir).isDir())
        dir = QDir::homePath() + QLatin1Char('/');
    return dir + QStringLiteral("Grips-Fix.pdf");
}

std::unique_ptr<QPrinter> createPdfPrinter(const QString& pdfPath)
{
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(pdfPath);
    printer->setPageSize(QPageSize(QPageSize::A4));
    printer->setPageOrientation(QPageLayout::Landscape);
    printer->setCreator(QStringLiteral("Grips-Fix"));
    return printer;
}

std::unique_ptr<QPrinter> choosePrinter(QWidget* parent)
{
    if (g_hook)
        return g_hook(parent);
    // Nobody can answer a dialog on the offscreen platform; showing one would hang.
    if (QGuiApplication::platformName() == QLatin1String("offscreen")) {
        qWarning("gf: print dialog without an answer hook on the offscreen platform: not shown");
        return nullptr;
    }

    std::unique_ptr<QPrinter> printer;
    if (QPrinterInfo::availablePrinters().isEmpty()) {
        printer = createPdfPrinter(defaultPdfFileName());
    } else {
        printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer->setPageOrientation(QPageLayout::Landscape);
    }
    QPrintDialog dialog(printer.get(), parent);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    if (dialog.exec() != QDialog::Accepted)
        return nullptr;
    // Every printed page is laid out for landscape, whatever the dialog chose.
    printer->setPageOrientation(QPageLayout::Landscape);
    return printer;
}

void setChoosePrinterHook(ChoosePrinterHook hook)
{
    g_hook = std::move(hook);
}

void setPrintTargetForTests(const QString& pdfPath)
{
    if (pdfPath.isEmpty()) {
        g_hook = nullptr;
        return;
    }
    g_hook = [pdfPath](QWidget*) { return createPdfPrinter(pdfPath); };
}

} // namespace gf

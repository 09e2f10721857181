#include "exercises/results/TPrintDlg.h"

#include "core/data/MessageSink.h"
#include "core/data/ProgramData.h"
#include "core/data/Timing.h"
#include "toolkit/AppContext.h"
#include "toolkit/Look.h"
#include "toolkit/TPushButton.h"
#include "toolkit/TxMsgDlg.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPaintDevice>
#include <QPainter>
#include <QProgressBar>
#include <QStackedWidget>
#include <QTemporaryFile>
#include <QTimer>
#include <QVBoxLayout>

namespace gf {

namespace {

const QString kLine = QStringLiteral("\n\r");

QString quoted(const QString& name)
{
    return QStringLiteral("„%1“").arg(name);
}

QString native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

// A file on two lines, folder and name, so that a long path reads in the message box.
QString fileLines(const QString& path)
{
    const QFileInfo info(path);
    return native(info.absolutePath()) + QDir::separator() + kLine + info.fileName();
}

// The print system's own words, in brackets after the sentence they explain.
QString becauseOf(const QString& reason)
{
    return reason.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(reason);
}

} // namespace

TPrintDlg::TPrintDlg(AppContext& ctx, const PrintPage& page, QWidget* parent)
    : QDialog(parent), m_page(page), m_backend(printBackend())
{
    const tProgramData* data = ctx.data;
    const QString name = data && data->CurrentUser ? data->CurrentUser->Name : QString();
    const QDate today = data ? data->clock().now().date() : QDate::currentDate();
    m_title = printJobTitle(name, page.what, today);

    setWindowTitle(QStringLiteral("Drucken – Grips-Fix"));
    setModal(true);
    look::setBackground(this, look::background());
    look::setTextColour(this, Qt::white);
    const double f = ctx.FontFactor > 0 ? ctx.FontFactor : 1.0;
    auto px = [f](int size) { return int(size * f + 0.5); };

    Caption = new QLabel(QStringLiteral("Drucken"), this);
    Caption->setFont(look::comic(px(24), true));
    StatusLabel = new QLabel(this);
    StatusLabel->setFont(look::arial(px(19), true));
    StatusLabel->setWordWrap(true);
    StatusLabel->setMinimumHeight(px(56));
    PrinterList = new QListWidget(this);
    PrinterList->setFont(look::arial(px(19)));
    QPalette pal = PrinterList->palette();
    pal.setColor(QPalette::Base, look::buttonFace());
    pal.setColor(QPalette::Text, Qt::black);
    pal.setColor(QPalette::Highlight, look::statusBar());
    pal.setColor(QPalette::HighlightedText, Qt::white);
    PrinterList->setPalette(pal);
    auto* waiting = new QWidget(this);
    Busy = new QProgressBar(waiting);
    Busy->setRange(0, 0);
    Busy->setTextVisible(false);
    Busy->setFixedHeight(px(24));
    auto* waitingLayout = new QVBoxLayout(waiting);
    waitingLayout->setContentsMargins(0, px(8), 0, 0);
    waitingLayout->addWidget(Busy);
    waitingLayout->addStretch(1);
    m_middle = new QStackedWidget(this);
    m_middle->addWidget(waiting);
    m_middle->addWidget(PrinterList);

    PrintBtn = new TPushButton(QStringLiteral("&Drucken"), this);
    PdfBtn = new TPushButton(QStringLiteral("Als &PDF speichern"), this);
    CancelBtn = new TPushButton(QStringLiteral("&Abbrechen"), this);
    for (TPushButton* b : {PrintBtn, PdfBtn, CancelBtn}) {
        b->setFont(look::arial(px(15), true));
        b->setFixedHeight(px(36));
        b->setMinimumWidth(px(170));
        b->setAutoDefault(false);
    }
    PrintBtn->setDefault(true);

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(px(16));
    buttons->addWidget(PrintBtn);
    buttons->addWidget(PdfBtn);
    buttons->addWidget(CancelBtn);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(px(24), px(16), px(24), px(20));
    layout->setSpacing(px(12));
    layout->addWidget(Caption);
    layout->addWidget(StatusLabel);
    layout->addWidget(m_middle, 1);
    layout->addLayout(buttons);
    resize(px(620), px(400));

    connect(PrintBtn, &QPushButton::clicked, this, &TPrintDlg::sendToPrinter);
    connect(PdfBtn, &QPushButton::clicked, this, [this] { finish(Next::SaveAsPdf); });
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    connect(PrinterList, &QListWidget::itemActivated, this, &TPrintDlg::sendToPrinter);

    m_deadline = new QTimer(this);
    m_deadline->setSingleShot(true);
    connect(m_deadline, &QTimer::timeout, this, &TPrintDlg::timedOut);
    setState(Searching, QStringLiteral("Drucker werden gesucht …"));
}

void TPrintDlg::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    if (parentWidget())
        move(parentWidget()->geometry().center() - rect().center());
}

void TPrintDlg::setState(State state, const QString& status)
{
    m_state = state;
    StatusLabel->setText(status);
    // The moving bar tells the trainee that the program is alive while it waits.
    m_middle->setCurrentIndex(state == Choosing ? 1 : 0);
    PrintBtn->setEnabled(state == Choosing && PrinterList->currentItem());
    PdfBtn->setEnabled(state != Sending);
}

QString TPrintDlg::printerName() const
{
    const QListWidgetItem* item = PrinterList->currentItem();
    return item ? item->data(Qt::UserRole).toString() : QString();
}

void TPrintDlg::startSearch()
{
    setState(Searching, QStringLiteral("Drucker werden gesucht …"));
    PrinterList->clear();
    const int request = ++m_request;
    std::shared_ptr<PrintBackend> backend = m_backend;
    runOffGuiThread<PrinterSearch>(
        this, [backend] { return backend->findPrinters(); },
        [this, request](const PrinterSearch& search) {
            if (request == m_request)
                searchAnswered(search);
        });
    m_deadline->start(printAnswerMs());
}

void TPrintDlg::searchAnswered(const PrinterSearch& search)
{
    m_deadline->stop();
    ++m_request;
    if (search.timedOut) {
        finish(Next::SearchNoAnswer);
        return;
    }
    if (search.printers.isEmpty()) {
        finish(Next::NoPrinter);
        return;
    }
    for (const PrinterEntry& p : search.printers) {
        auto* item = new QListWidgetItem(
            p.isDefault ? p.name + QStringLiteral("  (Standarddrucker)") : p.name, PrinterList);
        item->setData(Qt::UserRole, p.name);
        if (p.isDefault || !PrinterList->currentItem())
            PrinterList->setCurrentItem(item);
    }
    setState(Choosing, QStringLiteral("Bitte wählen Sie den Drucker:"));
    PrinterList->setFocus();
}

void TPrintDlg::sendToPrinter()
{
    if (m_state != Choosing || printerName().isEmpty())
        return;
    m_printer = printerName();

    // A temporary folder that does not exist comes back empty, which would put the page
    // into the root folder.
    const QString tmp = QDir::tempPath();
    QTemporaryFile spool(tmp + QStringLiteral("/gripsfix-XXXXXX.pdf"));
    spool.setAutoRemove(false);
    if (tmp.isEmpty() || !spool.open()) {
        sayCannotCreate(QStringLiteral("den Drucker ") + quoted(m_printer),
                        tmp.isEmpty() ? qEnvironmentVariable("TMPDIR") : tmp);
        done(Failed);
        return;
    }
    m_spoolFile = spool.fileName();
    spool.close();
    if (!drawInto(m_spoolFile, m_printer)) {
        QFile::remove(m_spoolFile);
        done(Failed);
        return;
    }

    setState(Sending,
             QStringLiteral("Die Seite wird an den Drucker %1 gesendet …").arg(quoted(m_printer)));
    const int request = ++m_request;
    std::shared_ptr<PrintBackend> backend = m_backend;
    const QString printer = m_printer, file = m_spoolFile, title = m_title;
    runOffGuiThread<PrintJobResult>(
        this,
        [backend, printer, file, title] {
            PrintJobResult r = backend->submit(printer, file, title);
            QFile::remove(file); // the print system keeps its own copy
            return r;
        },
        [this, request](const PrintJobResult& result) {
            if (request == m_request)
                jobAnswered(result);
        });
    m_deadline->start(printAnswerMs());
}

void TPrintDlg::jobAnswered(const PrintJobResult& result)
{
    m_deadline->stop();
    ++m_request;
    m_job = result;
    finish(Next::Submitted);
}

void TPrintDlg::timedOut()
{
    ++m_request; // a late answer changes nothing any more
    if (m_state == Sending) {
        m_job = PrintJobResult{PrintJobResult::NoAnswer, QString(), QString()};
        finish(Next::Submitted);
    } else {
        finish(Next::SearchNoAnswer);
    }
}

void TPrintDlg::finish(Next next)
{
    // The messages come after the dialog is gone, so they never stand on top of it.
    m_next = next;
    m_deadline->stop();
    accept();
}

bool TPrintDlg::drawInto(const QString& path, const QString& target)
{
    const QString device = target.isEmpty() ? QStringLiteral("die Datei") + kLine + fileLines(path)
                                            : QStringLiteral("den Drucker ") + quoted(target);
    std::unique_ptr<QPaintDevice> page = m_backend->makePage(path, m_title);
    QPainter painter;
    if (!page || !painter.begin(page.get())) {
        sayCannotCreate(device, QFileInfo(path).absolutePath());
        return false;
    }
    const bool drawn = m_page.draw ? m_page.draw(painter) : false;
    const bool ended = painter.end();
    if (!drawn || !ended) {
        xMessageDlg(QStringLiteral("Fehler: Die Seite konnte nicht fertig gezeichnet werden") +
                        kLine + QStringLiteral("für ") + device + QStringLiteral(".") + kLine +
                        QStringLiteral("Es wurde nichts gedruckt.") + kLine +
                        QStringLiteral("Bitte versuchen Sie es noch einmal."),
                    mkFehlermeldung, btn::OK);
        return false;
    }
    return true;
}

void TPrintDlg::sayCannotCreate(const QString& device, const QString& folder)
{
    xMessageDlg(QStringLiteral("Fehler: Die Seite kann nicht angelegt werden") + kLine +
                    QStringLiteral("für ") + device + QStringLiteral(".") + kLine +
                    QStringLiteral("Bitte prüfen Sie, ob dieser Ordner besteht") + kLine +
                    QStringLiteral("und beschrieben werden darf:") + kLine + native(folder),
                mkFehlermeldung, btn::OK);
}

TPrintDlg::Outcome TPrintDlg::saveAsPdf(bool announce)
{
    const QString target = pdfFileFor(pdfFolder(), m_title);
    if (announce && xMessageDlg(QStringLiteral("Es wurde kein Drucker gefunden.") + kLine +
                                    QStringLiteral("Die Seite wird als PDF-Datei gespeichert:") +
                                    kLine + fileLines(target),
                                mkHinweis, btn::OK | btn::Cancel) != mrOk)
        return Cancelled;
    if (!drawInto(target, QString()))
        return Failed;
    m_savedPdf = target;
    xMessageDlg(QStringLiteral("Die Seite wurde als PDF-Datei gespeichert:") + kLine +
                    fileLines(target),
                mkHinweis, btn::OK);
    return SavedAsPdf;
}

TPrintDlg::Outcome TPrintDlg::offerPdf(const QString& text, int kind)
{
    if (xMessageDlg(text + kLine + QStringLiteral("Soll die Seite stattdessen") + kLine +
                        QStringLiteral("als PDF-Datei gespeichert werden?"),
                    kind, btn::YesNo) != mrYes)
        return Failed;
    const Outcome saved = saveAsPdf(false);
    return saved == SavedAsPdf ? SavedAsPdf : Failed;
}

TPrintDlg::Outcome TPrintDlg::run()
{
    m_next = Next::None;
    m_savedPdf.clear();
    startSearch();
    const int result = exec();
    m_deadline->stop();
    ++m_request;
    if (result == Failed)
        return Failed;
    if (result != QDialog::Accepted)
        return Cancelled;

    const QString seconds = QString::number((printAnswerMs() + 999) / 1000);
    switch (m_next) {
    case Next::None:
        return Cancelled;
    case Next::NoPrinter:
        return saveAsPdf(true);
    case Next::SaveAsPdf:
        return saveAsPdf(false);
    case Next::SearchNoAnswer:
        return offerPdf(QStringLiteral("Der Drucker antwortet nicht.") + kLine +
                            QStringLiteral("Das Drucksystem hat nach %1 Sekunden").arg(seconds) +
                            kLine + QStringLiteral("noch keine Antwort gegeben.") + kLine +
                            QStringLiteral("Bitte prüfen Sie, ob der Druckserver läuft") + kLine +
                            QStringLiteral("und das Netzwerk verbunden ist."),
                        mkAchtung);
    case Next::Submitted:
        break;
    }

    const QString printer = quoted(m_printer);
    switch (m_job.kind) {
    case PrintJobResult::Accepted:
        return Printed;
    case PrintJobResult::NoAnswer:
        return offerPdf(
            QStringLiteral("Der Drucker antwortet nicht.") + kLine +
                QStringLiteral("Der Drucker %1 hat nach %2 Sekunden").arg(printer, seconds) +
                kLine + QStringLiteral("noch keine Antwort gegeben;") + kLine +
                QStringLiteral("die Seite wird vielleicht später noch gedruckt.") + kLine +
                QStringLiteral("Bitte prüfen Sie, ob der Drucker eingeschaltet") + kLine +
                QStringLiteral("und verbunden ist."),
            mkAchtung);
    case PrintJobResult::Refused:
        return offerPdf(QStringLiteral("Der Drucker %1 nimmt keine Aufträge an%2.")
                                .arg(printer, becauseOf(m_job.reason)) +
                            kLine + QStringLiteral("Es wurde nichts gedruckt.") + kLine +
                            QStringLiteral("Bitte wählen Sie einen anderen Drucker,") + kLine +
                            QStringLiteral("oder lassen Sie den Drucker wieder freigeben."),
                        mkFehlermeldung);
    case PrintJobResult::QueueStopped:
        return offerPdf(QStringLiteral("Der Drucker %1 ist angehalten%2.")
                                .arg(printer, becauseOf(m_job.reason)) +
                            kLine + QStringLiteral("Die Seite wartet und wird erst gedruckt,") +
                            kLine + QStringLiteral("wenn der Drucker wieder läuft.") + kLine +
                            QStringLiteral("Bitte beheben Sie die Störung am Drucker,") + kLine +
                            QStringLiteral("oder lassen Sie ihn wieder freigeben."),
                        mkAchtung);
    case PrintJobResult::Failed:
        break;
    }
    return offerPdf(QStringLiteral("Die Seite konnte nicht an den Drucker %1").arg(printer) +
                        kLine + QStringLiteral("gesendet werden%1.").arg(becauseOf(m_job.reason)) +
                        kLine + QStringLiteral("Es wurde nichts gedruckt.") + kLine +
                        QStringLiteral("Bitte prüfen Sie, ob der Drucker eingeschaltet") + kLine +
                        QStringLiteral("und verbunden ist."),
                    mkFehlermeldung);
}

TPrintDlg::Outcome TPrintDlg::print(AppContext& ctx, const PrintPage& page, QWidget* parent)
{
    TPrintDlg dlg(ctx, page, parent);
    const QString target = printTargetForTests();
    if (!target.isEmpty())
        return dlg.drawInto(target, QString()) ? SavedAsPdf : Failed;
    return dlg.run();
}

} // namespace gf

#pragma once

#include <QCoreApplication>
#include <QDate>
#include <QList>
#include <QMetaObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <memory>
#include <thread>

class QPaintDevice;
class QPdfWriter;

namespace gf {

// How long the program waits for any answer of the print system. A clinic's print
// server that does not answer must not hold the window; a few seconds are plenty
// for a server that works.
inline constexpr int kPrintAnswerMs = 4000;

struct PrinterEntry
{
    QString name;
    bool isDefault = false;
};

// The print system's answer to "which printers are there?".
struct PrinterSearch
{
    bool systemFound = false; // a print system answered at all
    bool timedOut = false;    // it did not answer in time
    QList<PrinterEntry> printers;
};

// What became of a page handed to a printer.
struct PrintJobResult
{
    enum Kind
    {
        Accepted,     // queued or printed
        Refused,      // the queue takes no jobs
        QueueStopped, // taken, but the queue is disabled and will not print it
        Failed,       // the print system could not be reached or failed otherwise
        NoAnswer      // no answer in time
    };
    Kind kind = Failed;
    QString reason; // the print system's own words, may be empty
    QString jobId;
};

// The print system. Every call may block for as long as the system takes, so it is
// only ever called off the GUI thread.
class PrintBackend
{
public:
    virtual ~PrintBackend() = default;
    virtual PrinterSearch findPrinters() = 0;
    // Hands a finished PDF page to a printer under a job title and looks at the job's
    // queue right after.
    virtual PrintJobResult submit(const QString& printer, const QString& pdfPath,
                                  const QString& title) = 0;
    // The device a page is drawn on before it is sent or saved: a PDF file. Called on
    // the GUI thread.
    virtual std::unique_ptr<QPaintDevice> makePage(const QString& pdfPath, const QString& title);
};

// How long the windows wait for the print system (kPrintAnswerMs unless set for a test;
// 0 restores it).
int printAnswerMs();
void setPrintAnswerMs(int ms);

// CUPS through its command-line clients. A client runs as a process of its own and is
// killed when it has not answered within timeoutMs (0: printAnswerMs()), so no call
// lasts longer than that. Without the clients there is no print system.
std::shared_ptr<PrintBackend> makeCupsBackend(int timeoutMs = 0);

// The print system the windows use; null restores the real one.
std::shared_ptr<PrintBackend> printBackend();
void setPrintBackend(std::shared_ptr<PrintBackend> backend);

// Runs work on a thread of its own and hands its answer to done on the GUI thread,
// unless receiver is gone by then. A call that hangs costs only its own thread.
template <typename T>
void runOffGuiThread(QObject* receiver, std::function<T()> work, std::function<void(T)> done)
{
    QPointer<QObject> guard(receiver);
    std::thread([guard, work = std::move(work), done = std::move(done)]() mutable {
        T answer = work();
        QCoreApplication* app = QCoreApplication::instance();
        if (!app)
            return;
        QMetaObject::invokeMethod(
            app,
            [guard, done = std::move(done), answer = std::move(answer)]() {
                if (guard)
                    done(answer);
            },
            Qt::QueuedConnection);
    }).detach();
}

// "Grips-Fix – NAME – WHAT – 07.12.2026": the title a queue shows for a job, and the
// name of the PDF file saved instead.
QString printJobTitle(const QString& name, const QString& what, const QDate& date);

// A PDF file in folder named after a job title: characters no file system takes are
// replaced, and a name already taken gets " (2)", " (3)", ...
QString pdfFileFor(const QString& folder, const QString& title);
// The folder PDF pages are saved in: the documents folder, else the home folder.
QString pdfFolder();

// An A4 landscape PDF page. Unlike a printer it never asks the print system.
std::unique_ptr<QPdfWriter> createPdfWriter(const QString& pdfPath, const QString& title);

// Skips every dialog and prints straight into this PDF file; empty restores printing.
void setPrintTargetForTests(const QString& pdfPath);
QString printTargetForTests();

} // namespace gf

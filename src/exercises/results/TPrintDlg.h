#pragma once

#include "platform/Printing.h"

#include <QDialog>
#include <QString>
#include <functional>

class QLabel;
class QListWidget;
class QProgressBar;
class QStackedWidget;
class QPainter;
class QTimer;

namespace gf {

struct AppContext;
class TPushButton;

// A page to print and how to draw it.
struct PrintPage
{
    QString what; // what is printed, for the job's title: "Tagesergebnisse"
    // Draws the page onto an active painter, in black on white; false when it did not draw.
    std::function<bool(QPainter&)> draw;
};

// The program's print dialog. It asks the print system for its printers off the GUI
// thread and stays live meanwhile; the page goes to the chosen printer as a PDF job
// named after the trainee and the page. Every failure is said in the program's
// message box with an offer to save the page as a PDF file; a print system that finds
// no printer gets the PDF file straight away. Success is silent.
class TPrintDlg final : public QDialog
{
    Q_OBJECT

public:
    enum State
    {
        Searching,
        Choosing,
        Sending
    };
    enum Outcome
    {
        Cancelled,
        Printed,
        SavedAsPdf,
        Failed
    };

    TPrintDlg(AppContext& ctx, const PrintPage& page, QWidget* parent = nullptr);

    // Runs the whole print of the page: search, choice, page, job, messages.
    Outcome run();
    // The print of a page from a window, as "&Drucken" does it.
    static Outcome print(AppContext& ctx, const PrintPage& page, QWidget* parent);

    State state() const { return m_state; }
    QString jobTitle() const { return m_title; }
    // Where the last PDF went (empty when none was saved).
    QString savedPdf() const { return m_savedPdf; }

    QLabel* Caption;
    QLabel* StatusLabel;
    QListWidget* PrinterList;
    QProgressBar* Busy; // moves while the print system is asked
    TPushButton* PrintBtn;
    TPushButton* PdfBtn;
    TPushButton* CancelBtn;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    enum class Next
    {
        None,
        NoPrinter,
        SearchNoAnswer,
        Submitted,
        SaveAsPdf
    };

    void startSearch();
    void searchAnswered(const PrinterSearch& search);
    void sendToPrinter();
    void jobAnswered(const PrintJobResult& result);
    void timedOut();
    void setState(State state, const QString& status);
    void finish(Next next);

    // Draws the page into a paint device of the backend; false after saying why.
    bool drawInto(const QString& path, const QString& target);
    void sayCannotCreate(const QString& device, const QString& folder);
    Outcome offerPdf(const QString& text, int kind);
    Outcome saveAsPdf(bool announce);
    QString printerName() const;

    PrintPage m_page;
    std::shared_ptr<PrintBackend> m_backend;
    QString m_title;
    QString m_savedPdf;
    State m_state = Searching;
    Next m_next = Next::None;
    PrintJobResult m_job;
    QString m_printer;
    QString m_spoolFile;
    int m_request = 0; // answers to an earlier request are late and ignored
    QTimer* m_deadline;
    QStackedWidget* m_middle; // the moving bar or the printers
};

} // namespace gf

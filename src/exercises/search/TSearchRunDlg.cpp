#include "exercises/search/TSearchRunDlg.h"

#include "core/data/MessageSink.h"
#include "core/data/Random.h"
#include "core/data/Records.h"
#include "core/sequence/StepClock.h"
#include "exercises/search/TSearchQueryDlg.h"
#include "toolkit/AppContext.h"
#include "toolkit/Look.h"
#include "toolkit/TPushButton.h"
#include "toolkit/TSkinButton.h"
#include "toolkit/TStatusBar.h"
#include "toolkit/TxMsgDlg.h"

#include <QDir>
#include <QKeyEvent>

namespace gf {

namespace {

// Reports through the context's sink as it is when the report comes, so a window made
// before the sink was set still reaches it.
class ContextSink final : public MessageSink
{
public:
    explicit ContextSink(AppContext& ctx) : m_ctx(ctx) {}
    int message(const QString& text, int kind, int buttons, int helpContext) override
    {
        return sink().message(text, kind, buttons, helpContext);
    }
    void plainMessage(const QString& text) override { sink().plainMessage(text); }

private:
    MessageSink& sink() { return m_ctx.messages ? *m_ctx.messages : m_box; }
    AppContext& m_ctx;
    BoxMessageSink m_box;
};

} // namespace

TSearchRunDlg::TSearchRunDlg(AppContext& ctx, QWidget* parent, tSearchRun::Kind kind,
                             StepClock& clock, Random& random, const QString& startCaption,
                             int buttonWidth)
    : TBaseDlg(ctx, parent), m_random(random)
{
    m_sink = std::make_unique<ContextSink>(ctx);
    m_run = std::make_unique<tSearchRun>(kind, random, m_presentation.stageClock(clock, this),
                                         m_sink.get());
    setWindowTitle(QStringLiteral("Nachrichtenzentrale"));

    StartPanel = new TSkinButton(startCaption, QSize(600, 120), this);
    StartPanel->setFont(look::arial(32, true));
    // Enter and Space start a task from anywhere in the window (keyPressEvent).
    StartPanel->setFocusPolicy(Qt::NoFocus);
    connect(StartPanel, &TSkinButton::clicked, this, &TSearchRunDlg::StartPanelClick);

    HelpBtn = makeBarButton(QStringLiteral("&Hilfe"), buttonWidth);
    CancelBtn = makeBarButton(QStringLiteral("&Abbruch"), buttonWidth);
    connect(HelpBtn, &QPushButton::clicked, this, &TSearchRunDlg::HelpBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &TSearchRunDlg::reject);
    setFocusPolicy(Qt::StrongFocus);

    tSearchRun* run = m_run.get();
    connect(run, &tSearchRun::phaseChanged, this, [this](tSearchRun::Phase phase) {
        StartPanel->setVisible(phase == tSearchRun::Phase::Ready);
        // Held through the question: its keys are answered on time too.
        m_presentation.setPresenting((phase == tSearchRun::Phase::Presenting ||
                                      phase == tSearchRun::Phase::Asking) &&
                                     isVisible());
    });
    m_presentation.buffers = [this] { return presentationBuffers(); };
    // The status bar is repainted after the item, never within the item's paint.
    connect(run, &tSearchRun::statusChanged, this, &TSearchRunDlg::setStatus,
            Qt::QueuedConnection);
    connect(run, &tSearchRun::itemShown, this,
            [this](int, const QString& text) { showItem(text); });
    connect(run, &tSearchRun::itemCleared, this, [this] { clearItem(); });
    connect(run, &tSearchRun::faxFrameChanged, this, [this](int frame) { showFaxFrame(frame); });
    // The question opens from the event loop, not from inside the timer that ended the
    // presentation.
    connect(run, &tSearchRun::questionAsked, this, &TSearchRunDlg::question,
            Qt::QueuedConnection);
    connect(run, &tSearchRun::runFinished, this, [this] {
        if (isVisible())
            done(mrOk);
    }, Qt::QueuedConnection);
}

TSearchRunDlg::~TSearchRunDlg()
{
    m_run->Stop();
}

bool TSearchRunDlg::LoadItemTables(const QString& fileName)
{
    return Tables.LoadItemTables(QDir(ctx().paths.ProgramDir).filePath(fileName), m_random,
                                 m_sink.get());
}

bool TSearchRunDlg::SumLevels(tWortKatStat& record) const
{
    return m_run->SumLevels(record);
}

void TSearchRunDlg::FormShow()
{
    dockStatusBar(HelpBtn, CancelBtn);
    placeAboveStatusBar(StartPanel);
    m_interrupts = 0;
    m_questionOpen = false;
    placeStage();
    clearItem();
    const bool prepared = prepareItems();
    if (!prepared || !m_run->Start(Tables, TaskCount)) {
        StartPanel->hide();
        if (prepared)
            m_sink->message(QStringLiteral("Die Aufgaben können nicht geladen werden!"),
                            mkFehlermeldung, btn::OK, 0);
        QMetaObject::invokeMethod(this, [this] {
            if (isVisible())
                done(mrCancel);
        }, Qt::QueuedConnection);
    }
    setFocus();
}

void TSearchRunDlg::setStatus(const QString& text)
{
    QString status = text;
    // The test-run mode shows the answer, so a tester can answer right or wrong at will.
    if (ctx().testRun && !text.isEmpty() && !m_run->target().isEmpty())
        status += QStringLiteral("   [%1, Stufe %2]").arg(m_run->target()).arg(m_run->level());
    statusBar()->setText(status);
}

void TSearchRunDlg::StartPanelClick()
{
    if (!m_run->startVisible() || m_interrupts > 0)
        return;
    m_run->startPass();
}

void TSearchRunDlg::question()
{
    if (!isVisible() || m_questionOpen || m_run->phase() != tSearchRun::Phase::Asking)
        return;
    // Help or the abort question is open: the question follows when it closes.
    if (m_interrupts > 0)
        return;
    m_questionOpen = true;
    TSearchQueryDlg& dlg = queryDlg();
    dlg.Run = m_run.get();
    dlg.exec(); // returns once the question was answered
    dlg.Run = nullptr;
    m_questionOpen = false;
    if (m_run->phase() == tSearchRun::Phase::Asking && !m_run->nextTask())
        QMetaObject::invokeMethod(this, &TSearchRunDlg::question, Qt::QueuedConnection);
}

void TSearchRunDlg::hideEvent(QHideEvent* event)
{
    m_presentation.setPresenting(false);
    TBaseDlg::hideEvent(event);
}

void TSearchRunDlg::interrupt(const std::function<void()>& during)
{
    ++m_interrupts;
    m_run->Pause();
    m_presentation.pause();
    during();
    m_presentation.resume();
    m_run->resume();
    --m_interrupts;
    if (m_interrupts == 0 && isVisible() && m_run->phase() == tSearchRun::Phase::Asking)
        QMetaObject::invokeMethod(this, &TSearchRunDlg::question, Qt::QueuedConnection);
}

void TSearchRunDlg::HelpBtnClick()
{
    interrupt([this] { showHelp(); });
}

void TSearchRunDlg::reject()
{
    if (m_interrupts > 0 || m_questionOpen)
        return;
    if (m_run->finished()) {
        done(mrOk);
        return;
    }
    int answer = mrNo;
    QWidget* shown = stage();
    const bool hid = !shown->isHidden();
    interrupt([&] {
        if (hid)
            shown->hide();
        answer = xMessageDlg(QStringLiteral("Möchten Sie wirklich abbrechen?"),
                             mkBitteBestaetigen, btn::YesNo, 0);
        if (hid && answer != mrYes)
            shown->show();
    });
    if (answer == mrYes)
        done(mrCancel);
}

void TSearchRunDlg::done(int result)
{
    m_run->Stop();
    TBaseDlg::done(result);
}

void TSearchRunDlg::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        event->accept();
        StartPanelClick();
        return;
    default:
        break;
    }
    TBaseDlg::keyPressEvent(event);
}

} // namespace gf

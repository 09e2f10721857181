#include "exercises/sequence/TSeqExerciseDlg.h"

#include "core/data/MessageSink.h"
#include "core/sequence/SeqExercise.h"
#include "toolkit/AppContext.h"
#include "toolkit/Look.h"
#include "toolkit/TPushButton.h"
#include "toolkit/TSkinButton.h"
#include "toolkit/TStatusBar.h"
#include "toolkit/TxMsgDlg.h"

namespace gf {

TSeqExerciseDlg::TSeqExerciseDlg(AppContext& ctx, QWidget* parent) : TBaseDlg(ctx, parent)
{
    m_presentation.buffers = [this] { return presentationBuffers(); };
}

void TSeqExerciseDlg::buildFrame(const QString& startCaption)
{
    StartPanel = new TSkinButton(startCaption, QSize(600, 120), this);
    StartPanel->setFont(look::comic(36, true));
    StartPanel->move(100, 430);
    connect(StartPanel, &TSkinButton::clicked, this, &TSeqExerciseDlg::StartPanelClick);

    setStatusFont(look::comic(19));
    HelpBtn = makeBarButton(QStringLiteral("&Hilfe"));
    OKBtn = makeBarButton(QStringLiteral("&Abbruch"));
    connect(HelpBtn, &QPushButton::clicked, this, &TSeqExerciseDlg::HelpBtnClick);
    connect(OKBtn, &QPushButton::clicked, this, &TSeqExerciseDlg::reject);
}

void TSeqExerciseDlg::FormShow()
{
    dockStatusBar(HelpBtn, OKBtn);
    placeAboveStatusBar(StartPanel);
    m_asking = false;
    TasksDone = 0;
}

void TSeqExerciseDlg::showStatus()
{
    if (m_exercise->tasksDone() == 0) {
        statusBar()->setText(QString());
        return;
    }
    QString text = QStringLiteral("Aufgabe %1 von %2")
                       .arg(m_exercise->tasksDone())
                       .arg(m_exercise->tasksTotal());
    // The test-run mode shows the answer asked for, so a tester can give it.
    const QString asked = askedFor();
    if (ctx().testRun && !asked.isEmpty())
        text += QStringLiteral("   [%1]").arg(asked.trimmed());
    statusBar()->setText(text);
}

void TSeqExerciseDlg::hideEvent(QHideEvent* event)
{
    m_presentation.setPresenting(false);
    TBaseDlg::hideEvent(event);
}

void TSeqExerciseDlg::StartPanelClick()
{
    if (!StartPanel->isVisible()) // a shortcut or key must not start a task early
        return;
    startTask();
}

void TSeqExerciseDlg::HelpBtnClick()
{
    m_exercise->Pause();
    m_presentation.pause();
    showHelp();
    m_presentation.resume();
    m_exercise->resume();
}

void TSeqExerciseDlg::reject()
{
    askToBreakOff(QStringLiteral("Möchten Sie wirklich abbrechen?"));
}

void TSeqExerciseDlg::askToBreakOff(const QString& question)
{
    if (m_asking)
        return;
    if (m_exercise->finished()) {
        done(mrOk);
        return;
    }
    m_exercise->Pause();
    m_presentation.pause();
    m_asking = true;
    QWidget* shown = stage();
    const bool hid = shown && !shown->isHidden();
    if (hid)
        shown->hide();
    const int answer = xMessageDlg(question, mkBitteBestaetigen, btn::YesNo, 0);
    m_asking = false;
    if (answer == mrYes) {
        done(mrCancel); // hidden: the hold stays dropped
        m_presentation.resume();
        return;
    }
    if (hid)
        shown->show();
    m_presentation.resume();
    m_exercise->resume();
}

} // namespace gf

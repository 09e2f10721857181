#pragma once

#include "exercises/Presentation.h"
#include "toolkit/TBaseDlg.h"

namespace gf {

class SeqExercise;
class TPushButton;
class TSkinButton;

// Common ground of the telephone and the memo-protocol window: the start button, help
// and abort in the status bar, the task count there, and the question before breaking
// off. The exercise waits while help or the question is open.
class TSeqExerciseDlg : public TBaseDlg
{
    Q_OBJECT

public:
    // Set by the caller before showing.
    quint16 TasksTotal = 10;
    // Read by the caller afterwards.
    quint16 TasksDone = 0;

    TSkinButton* StartPanel = nullptr;
    TPushButton* HelpBtn = nullptr;
    TPushButton* OKBtn = nullptr; // "&Abbruch"

public slots:
    void reject() override; // every close request

protected:
    TSeqExerciseDlg(AppContext& ctx, QWidget* parent);

    // The exercise that help and the abort question pause; set in the constructor.
    void setExercise(SeqExercise& exercise) { m_exercise = &exercise; }
    // Makes the start button and the status bar's buttons over the window's own
    // children: call it once those are made.
    void buildFrame(const QString& startCaption);
    // Docks the status bar and places the start button; the window's FormShow calls
    // this first.
    void FormShow() override;

    // Ja ends the window with mrCancel, Nein goes on where it was; one question at a
    // time. Once the exercise is finished the window ends with mrOk without asking.
    void askToBreakOff(const QString& question);
    // "Aufgabe n von m" once a task has started.
    void showStatus();
    void StartPanelClick();
    void HelpBtnClick();

    // What the current task asks for, as a tester would enter it; shown in the
    // test-run mode.
    virtual QString askedFor() const = 0;
    virtual void startTask() = 0;
    // What presents the task; hidden while the abort question is open, so that the
    // trainee cannot study it meanwhile.
    virtual QWidget* stage() const = 0;

    void hideEvent(QHideEvent* event) override;
    // What the presentation reads, locked while it runs: the window's paint buffer, and
    // what a window adds.
    virtual std::vector<MemoryRange> presentationBuffers() { return paintBuffers(this); }
    // The window reports whether its exercise presents now.
    PresentationHold m_presentation;

private:
    SeqExercise* m_exercise = nullptr;
    bool m_asking = false; // a close question is open
};

} // namespace gf

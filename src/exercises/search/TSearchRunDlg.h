#pragma once

#include "core/search/ItemTables.h"
#include "core/search/tSearchRun.h"
#include "exercises/Presentation.h"
#include "toolkit/TBaseDlg.h"

#include <functional>
#include <memory>

namespace gf {

class MessageSink;
class Random;
class StepClock;
class TPushButton;
class TSearchQueryDlg;
class TSkinButton;
struct tWortKatStat;

// Common ground of the word-search and the picture-search window: the exercise's item
// tables, the run, the start button, help and abort. Ends with mrOk after the last
// task, mrCancel when broken off. The two windows differ only in how they show an item
// and ask.
class TSearchRunDlg : public TBaseDlg
{
    Q_OBJECT

public:
    ~TSearchRunDlg() override;

    // Set by the caller before showing.
    quint16 TaskCount = 8;
    // This exercise's tables, read afresh before every course.
    ItemTables Tables;

    // Reads fileName from the program's folder and draws the current table. On failure
    // the reason is reported and the table drawn before stays current.
    bool LoadItemTables(const QString& fileName);
    // Why the run cannot be shown (media of the current table missing), empty when
    // it can; the course asks before its introductions.
    virtual QString missingMedia() const { return {}; }
    // The per-level counts of the run just played into its record.
    bool SumLevels(tWortKatStat& record) const;

    tSearchRun& Run() { return *m_run; }
    const tSearchRun& Run() const { return *m_run; }

    TSkinButton* StartPanel;
    TPushButton* HelpBtn;
    TPushButton* CancelBtn; // "&Abbruch"

public slots:
    void reject() override; // Escape, "&Abbruch" and the window's close request

protected:
    TSearchRunDlg(AppContext& ctx, QWidget* parent, tSearchRun::Kind kind, StepClock& clock,
                  Random& random, const QString& startCaption, int buttonWidth);

    void FormShow() override;
    void done(int result) override;
    void keyPressEvent(QKeyEvent* event) override;
    void hideEvent(QHideEvent* event) override;

    // Places the stage for the window's current size; runs on every showing.
    virtual void placeStage() = 0;
    // Everything the presentation needs, made before the first item is due; false
    // (after saying why) when the run cannot be shown.
    virtual bool prepareItems() { return true; }
    // Puts an item on the stage; it must be visible when this returns.
    virtual void showItem(const QString& text) = 0;
    virtual void clearItem() = 0;
    // What presents the items; hidden while the abort question is open, so that the
    // trainee cannot study the item on it meanwhile.
    virtual QWidget* stage() const = 0;
    virtual void showFaxFrame(int) {}
    // What the presentation reads, locked while it runs: the window's paint buffer, and
    // what a window adds.
    virtual std::vector<MemoryRange> presentationBuffers() { return paintBuffers(this); }
    // The dialog that asks the question of a task.
    virtual TSearchQueryDlg& queryDlg() = 0;

    void StartPanelClick();
    void HelpBtnClick();

private:
    void setStatus(const QString& text);
    void question();
    // Help and the abort question: the run waits while `during` runs.
    void interrupt(const std::function<void()>& during);

    Random& m_random;
    std::unique_ptr<MessageSink> m_sink;
    std::unique_ptr<tSearchRun> m_run;
    PresentationHold m_presentation;
    int m_interrupts = 0;       // help or the abort question is open
    bool m_questionOpen = false; // the query dialog is open
};

} // namespace gf

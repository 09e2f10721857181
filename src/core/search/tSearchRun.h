#pragma once

#include "core/search/SearchRules.h"
#include "core/sequence/StepClock.h"

#include <QObject>
#include <QString>

#include <memory>

namespace gf {

class ItemTables;
class MessageSink;
class Random;

// One run of the word search or the picture search: the task list, each task's items
// shown one after another, the question, the scoring into the table. The window shows
// what this reports and passes the trainee's start and answer on; the two windows
// differ only in how they show an item and ask.
class tSearchRun final : public QObject
{
    Q_OBJECT

public:
    enum class Kind
    {
        Word,
        Picture
    };
    enum class Phase
    {
        Idle,
        Ready,      // waiting for the start button
        Presenting, // items and pauses
        Asking,     // the question is open
        Finished
    };

    tSearchRun(Kind kind, Random& random, StepClock& clock, MessageSink* sink,
               QObject* parent = nullptr);
    ~tSearchRun() override;

    // A new run of `taskCount` tasks over the current table of `tables`; the run keeps
    // that table even when the file is read again meanwhile. Every counter of the table
    // starts at 0. Words are shown for the file's display time, pictures for 3000 ms.
    // False, and nothing starts, without a current table or with no tasks. A run can
    // already be finished on return when no task fits its table.
    bool Start(const ItemTables& tables, int taskCount);
    bool Start(std::shared_ptr<tConfig> table, int taskCount,
               std::chrono::milliseconds wordShowTime);

    // The start button (or, in the picture search, a fax frame while it shows).
    void startPass();
    // The trainee's choice, an index of query().Options (the picture search: picture
    // i is option i - 1). Counted once per question; later calls return the first verdict.
    search::tVerdict Answer(int option);
    // The query dialog closed: prepares the next task, or finishes the run after the
    // last. False while the question waits for its answer.
    bool nextTask();
    void Pause(); // help and the abort question; nests, timers keep the time they had left
    void resume();
    void Stop(); // the window closes

    // Sums the run's per-level counts into its record (tBmpKatStat is one too).
    bool SumLevels(tWortKatStat& record) const;

    Kind kind() const { return m_kind; }
    Phase phase() const { return m_phase; }
    bool finished() const { return m_phase == Phase::Finished; }
    bool startVisible() const { return m_phase == Phase::Ready; }
    int taskNo() const { return m_taskNo; } // 1-based
    int taskCount() const { return m_taskCount; }
    int position() const { return m_position; } // items shown of this task
    int showCount() const { return int(m_sequence.size()); }
    int level() const { return m_level; }
    int retry() const { return m_retry; }
    QString target() const { return m_target; }
    QStringList sequenceTexts() const; // the current task's items in order
    const QList<search::tItemPos>& sequence() const { return m_sequence; }
    const QList<tSampleCfg>& tasks() const { return m_tasks; }
    std::chrono::milliseconds showTime() const { return m_showTime; }
    QString status() const { return m_status; }
    int faxFrame() const { return m_faxFrame; } // 1..3
    const search::tQuery& query() const { return m_query; }
    bool answered() const { return m_answered; }
    const search::tVerdict& verdict() const { return m_verdict; }
    const std::shared_ptr<tConfig>& table() const { return m_table; }

signals:
    void phaseChanged(gf::tSearchRun::Phase phase);
    // A task is prepared; the start button shows.
    void taskReady(int taskNo, int taskCount);
    // "Aufgabe n von m" (words) or "Durchgang n von m" (pictures).
    void statusChanged(const QString& text);
    // Item `position` (1-based) of the task: the word, or the picture's base name.
    void itemShown(int position, const QString& text);
    // The word panel or the picture frame is blank.
    void itemCleared();
    // The one fax frame (1..3) to show; it runs 1, 2, 3, 1 in 500 ms steps per picture.
    void faxFrameChanged(int frame);
    // The window asks query() and passes the choice to Answer, then calls nextTask.
    void questionAsked(const gf::search::tQuery& query);
    void runFinished();

private:
    void setPhase(Phase phase);
    void setStatus(int taskNo);
    void prepareTask();
    void pauseEnded();
    void displayEnded();
    void showItem(SteadyTime onset);
    void faxTick();
    void ask();
    void finish();

    Kind m_kind;
    Random& m_random;
    MessageSink* m_sink;
    StepTimerGroup m_timers;
    StepTimer* m_display = nullptr;
    StepTimer* m_pause = nullptr;
    StepTimer* m_fax = nullptr;

    std::shared_ptr<tConfig> m_table;
    QList<tSampleCfg> m_tasks;
    QList<search::tItemPos> m_sequence;
    Phase m_phase = Phase::Idle;
    quint64 m_run = 0; // changes at every Start and Stop; handlers stop when it moved
    std::chrono::milliseconds m_showTime{search::DefaultWordShowTime};
    int m_taskNo = 0;
    int m_taskCount = 0;
    int m_position = 0;
    int m_level = 1;
    int m_retry = 0;
    QString m_target;
    QString m_status;
    int m_faxFrame = 1;
    int m_faxStep = search::FaxFrameCount; // steps taken; the animation is idle at 3
    search::tQuery m_query;
    search::tVerdict m_verdict;
    bool m_answered = false;
};

} // namespace gf

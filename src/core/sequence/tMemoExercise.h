#pragma once

#include "core/sequence/MemoRules.h"
#include "core/sequence/SeqExercise.h"
#include "core/sequence/StepClock.h"

#include <QObject>
#include <QString>
#include <QVector>

namespace gf {

class Random;
struct tBmpSndStat;

// Pictures and sounds of the memo events (items 0..9). The window loads the pictures
// and plays through the program's player; nothing here waits for a sound to end.
class MemoMedia
{
public:
    enum class Start
    {
        Playing,
        Missing, // no such file
        Failed   // the file is there but cannot be played
    };
    virtual ~MemoMedia() = default;
    // Whether the event's picture can be shown.
    virtual bool hasPicture(int item) = 0;
    // Starts the event's sound, cutting off one still playing.
    virtual Start playSound(int item) = 0;
    virtual void stopSound() = 0;
    virtual QString picturePath(int item) const = 0;
    virtual QString soundPath(int item) const = 0;
};

// One memo protocol exercise: sequences of events presented on a stage, clicked back
// on a keypad of ten keys, judged, the level adapted in blocks of two, counted into
// the caller's record. The window shows what this reports and passes the trainee's
// input on.
class tMemoExercise final : public QObject, public SeqExercise
{
    Q_OBJECT

public:
    enum class Phase
    {
        Idle,
        Ready,           // before the first task: the start button
        Presenting,      // events on the stage; the keypad does not react
        Answering,       // the keypad takes the answer
        Feedback,        // right or wrong is shown for a while
        WaitingForStart, // after a wrong answer: the correct sequence and the start button
        Ending,          // after a wrong last answer: the start button reads "Beenden"
        Finished         // all done; the window closes with result 1
    };

    // Nominal intervals, before the test-run scaling.
    static constexpr std::chrono::milliseconds EmptyStage{1000}; // also before the first event
    static constexpr std::chrono::milliseconds EventOnStage{3100};
    static constexpr std::chrono::milliseconds FeedbackTime{2500};
    static constexpr std::chrono::milliseconds KeyPressEffect{150};

    tMemoExercise(Random& random, MemoMedia& media, StepClock& clock, QObject* parent = nullptr);
    ~tMemoExercise() override;

    // A new exercise; `stat` belongs to the caller and must outlive the exercise.
    // `mode`: 1 hear, 2 see, 3 both. The level rule keeps within levelLow..levelHigh.
    void prepare(int mode, int storedLevel, int tasksTotal, tBmpSndStat* stat,
                 int levelLow = memo::LevelLimitLow, int levelHigh = memo::LevelLimitHigh);
    // The start button (or Enter): starts the next task, or ends the exercise after the
    // last one. False when there is no start button now.
    bool startTask();
    // Key 1..10, key i standing for event i - 1. False when the click is not taken now.
    bool Click(int key);
    // A key typed on the keyboard: like a click, but one that comes while the previous
    // press still shows is kept and taken once that press is over, so quick typing loses
    // nothing. False when the key is not taken now.
    bool Type(int key);
    // "Neu eingeben": the answer is entered again from its first event.
    bool restart();
    void Pause() override; // nests; the timers keep the time they had left
    void resume() override;
    void Stop(); // window closes: timers off, sound off

    Phase phase() const { return m_phase; }
    bool finished() const override
    {
        return m_phase == Phase::Ending || m_phase == Phase::Finished;
    }
    bool paused() const { return m_timers.paused(); }
    bool keypadActive() const { return m_phase == Phase::Answering && m_pressedKey == 0; }
    int mode() const { return m_mode; }
    int level() const { return m_rule.Level; } // of the next task
    int tasksDone() const override { return m_tasksDone; }
    int tasksTotal() const override { return m_tasksTotal; }
    bool lastCorrect() const { return m_lastCorrect; }

    // The current task: its events, and the events presented so far.
    const QVector<int>& items() const { return m_items; }
    QString correctSeq() const { return m_correctSeq; }
    int presentStep() const { return m_presentStep; } // from 1; 0 before the first event

    // The stage: the event on it (step from 1, item), 0 / -1 when empty.
    int stageStep() const { return m_stageStep; }
    int stageItem() const { return m_stageItem; }
    memo::StageShow stageShow() const { return m_stageShow; }
    // The moment the event now on the stage was due to appear.
    SteadyTime stageOnset() const { return m_stageOnset; }

    // The answer so far (items), and how many events it needs.
    const QVector<int>& answer() const { return m_answer; }
    QString answerText() const { return memo::sequenceText(m_answer); }
    int answerLen() const { return int(m_items.size()); }
    int pressedKey() const { return m_pressedKey; } // 0 when none

signals:
    void phaseChanged(gf::tMemoExercise::Phase phase);
    void taskStarted(int done, int total);
    void stageChanged();
    void answerChanged();
    void keyPressChanged(int key, bool pressed);
    void evaluated(bool right);
    // A picture or sound of an event cannot be presented; given once per exercise
    // for the first such file. The presentation goes on; a window that asks the
    // trainee to confirm pauses around its message so the event keeps its time.
    void mediaMissing(const QString& path);
    void exerciseFinished();

private:
    void setPhase(Phase phase);
    void setStage(int step, int item, memo::StageShow show);
    void beginTask();
    void eventDue();
    void eventOver();
    void keyReleased();
    void evaluate();
    void feedbackOver();
    void finish();

    Random& m_random;
    MemoMedia& m_media;
    StepTimerGroup m_timers;
    StepTimer* m_pauseTimer = nullptr; // empty stage, then the next event
    StepTimer* m_stageTimer = nullptr; // the event on the stage
    StepTimer* m_endTimer = nullptr;   // feedback
    StepTimer* m_keyTimer = nullptr;   // key press effect

    tBmpSndStat* m_stat = nullptr;
    Phase m_phase = Phase::Idle;
    quint64 m_run = 0; // changes at every Prepare and Stop; handlers stop when it moved
    int m_mode = 2;
    seq::BlockLevelRule m_rule = memo::levelRule(memo::MinStartLevel);
    QVector<int> m_items;
    QString m_correctSeq;
    QVector<int> m_answer;
    int m_presentStep = 0;
    int m_stageStep = 0;
    int m_stageItem = -1;
    memo::StageShow m_stageShow = memo::StageShow::Empty;
    SteadyTime m_stageOnset{};
    QVector<int> m_typed; // keys typed during a press, taken in turn after it
    int m_pressedKey = 0;
    int m_tasksDone = 0;
    int m_tasksTotal = 0;
    bool m_lastCorrect = false;
    bool m_mediaNoticeGiven = false;
};

} // namespace gf

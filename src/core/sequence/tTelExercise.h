#pragma once

#include "core/sequence/SeqExercise.h"
#include "core/sequence/StepClock.h"
#include "core/sequence/TelRules.h"

#include <QObject>
#include <QString>

namespace gf {

class Random;
struct tTeleStat;

// Sound of the telephone exercise, by file name in the sound folder. The window plays
// through the program's player; nothing here waits for a sound to end.
class TelAudio
{
public:
    enum class Start
    {
        Playing,
        Missing,
        Failed
    };
    virtual ~TelAudio() = default;
    // Empty when spoken digits can be played; otherwise the reason, for the trainee.
    virtual QString checkSound() = 0;
    virtual Start play(const QString& fileName) = 0;
    virtual bool isPlaying() = 0;
    virtual void Stop() = 0;
    virtual QString pathOf(const QString& fileName) const = 0;
    // How long the recording lasts; zero when unknown.
    virtual std::chrono::milliseconds duration(const QString& fileName) const
    {
        Q_UNUSED(fileName);
        return {};
    }
};

// One telephone switchboard exercise: numbers given digit by digit, dialled back,
// judged, the length adapted in blocks of two, counted into the caller's record.
// The window shows what this reports and passes the trainee's input on.
class tTelExercise final : public QObject, public SeqExercise
{
    Q_OBJECT

public:
    enum class Phase
    {
        Idle,
        Ready,
        Presenting,
        Dialling,
        Evaluating,
        Pausing,
        Finished
    };
    enum class Tone
    {
        Normal,
        Wrong,
        Right
    };

    // Nominal intervals, before the test-run scaling.
    static constexpr std::chrono::milliseconds FirstDigitDelay{10};
    static constexpr std::chrono::milliseconds ReadDigitInterval{1000};
    static constexpr std::chrono::milliseconds SpokenDigitGap{20};
    static constexpr std::chrono::milliseconds PollInterval{10};
    static constexpr std::chrono::milliseconds NextTaskDelay{500};
    // A sound still playing after this is cut off, so a player that never reports an
    // end cannot hold the exercise.
    static constexpr std::chrono::milliseconds LongestSound{20000};
    // The dial tone and "Verbunden!" / "Falsch verbunden" stay at least this long, so the
    // feedback can be read where nothing is heard.
    static constexpr std::chrono::milliseconds ShortestFeedback{1500};

    tTelExercise(Random& random, TelAudio& audio, StepClock& clock, QObject* parent = nullptr);
    ~tTelExercise() override;

    // A new exercise; `stat` belongs to the caller and must outlive the exercise.
    void prepare(int mode, int storedLevel, int tasksTotal, tTeleStat* stat);
    void startTask();     // ignored unless waiting for a task
    bool dial(int digit); // false when input is not taken now
    bool hangUp();
    void Pause() override; // nests; the timers keep the time they had left
    void resume() override;
    void Stop(); // window closes: timers off, sound off

    Phase phase() const { return m_phase; }
    bool keypadEnabled() const { return m_phase == Phase::Dialling; }
    bool busy() const { return m_busy; }
    bool finished() const override { return m_phase == Phase::Finished; }
    QString display() const { return m_display; }
    Tone tone() const { return m_tone; }
    QString number() const { return m_number; }
    int mode() const { return m_mode; }
    int curLength() const { return m_length.Level; }
    int numLength() const { return m_numLength; }
    // The moment the step being presented was due (read at digitShown).
    SteadyTime stepDue() const { return m_present->due(); }
    int digitsEntered() const { return m_digitsEntered; }
    int digitsExpected() const { return m_digitsExpected; }
    int tasksDone() const override { return m_tasksDone; }
    int tasksTotal() const override { return m_tasksTotal; }
    bool lastCorrect() const { return m_lastCorrect; }
    bool spokenThisTask() const { return m_spoken; }
    int lastWrongSound() const { return m_lastWrongSound; }
    int lastRightSound() const { return m_lastRightSound; }

signals:
    void phaseChanged(gf::tTelExercise::Phase phase);
    void displayChanged();
    void taskStarted(int done, int total);
    void busyChanged(bool busy);
    void digitShown(int index);
    // The window reports these to the trainee; the exercise goes on afterwards.
    void soundUnavailable(const QString& reason);
    void digitFileMissing(const QString& path);
    void exerciseFinished();

private:
    enum class Waiting
    {
        None,
        Digit,
        DialTone,
        Feedback
    };

    void setPhase(Phase phase);
    void setDisplay(const QString& text, Tone tone);
    void presentStep();
    void scheduleNextStep(SteadyTime due);
    void waitForSound(Waiting what, std::chrono::nanoseconds atLeast = {});
    void pollSound();
    void soundEnded(Waiting what);
    void evaluate();
    void judge();
    void conclude();
    int drawOther(int count, int last);
    void playQuietly(const QString& fileName, Waiting what);

    Random& m_random;
    TelAudio& m_audio;
    StepTimerGroup m_timers;
    StepTimer* m_present = nullptr;
    StepTimer* m_poll = nullptr;
    StepTimer* m_newTrial = nullptr;

    tTeleStat* m_stat = nullptr;
    Phase m_phase = Phase::Idle;
    quint64 m_run = 0; // changes at every Prepare and Stop; handlers stop when it moved
    int m_mode = 1;
    seq::BlockLevelRule m_length = tel::lengthRule(tel::MinLength);
    QString m_number;
    QString m_display;
    Tone m_tone = Tone::Normal;
    int m_numLength = 0;
    int m_digitsEntered = 0;
    int m_digitsExpected = 0;
    int m_presentStep = 0;
    int m_tasksDone = 0;
    int m_tasksTotal = 0;
    int m_lastWrongSound = -1;
    int m_lastRightSound = -1;
    bool m_lastCorrect = false;
    bool m_busy = false;
    bool m_spoken = false; // this task's digits are played
    Waiting m_waiting = Waiting::None;
    SteadyTime m_waitStart{};
    SteadyTime m_waitAtLeastUntil{};
};

} // namespace gf

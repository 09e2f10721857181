#include "core/sequence/tTelExercise.h"

#include "core/data/Random.h"
#include "core/data/Records.h"
#include "core/data/Timing.h"

#include <algorithm>

namespace gf {

namespace {
std::chrono::nanoseconds scaled(std::chrono::milliseconds nominal)
{
    return timing::scaled(nominal);
}
} // namespace

tTelExercise::tTelExercise(Random& random, TelAudio& audio, StepClock& clock, QObject* parent)
    : QObject(parent), m_random(random), m_audio(audio), m_timers(clock)
{
    m_present = &m_timers.add([this] { presentStep(); });
    m_poll = &m_timers.add([this] { pollSound(); });
    m_newTrial = &m_timers.add([this] { startTask(); });
}

tTelExercise::~tTelExercise() = default;

void tTelExercise::prepare(int mode, int storedLevel, int tasksTotal, tTeleStat* stat)
{
    Stop();
    m_mode = std::clamp(mode, 1, 3);
    m_tasksTotal = std::max(tasksTotal, 0);
    m_stat = stat;
    m_length = tel::lengthRule(tel::startLength(storedLevel));
    m_number.clear();
    m_numLength = m_length.Level;
    m_digitsEntered = 0;
    m_digitsExpected = m_numLength;
    m_presentStep = 0;
    m_tasksDone = 0;
    m_lastWrongSound = -1;
    m_lastRightSound = -1;
    m_lastCorrect = false;
    m_spoken = false;
    if (m_stat) {
        m_stat->MinLevel = m_stat->MaxLevel = quint16(m_length.Level);
        m_stat->BestSpan = NoValue;
    }
    setDisplay(tel::dashPattern(m_length.Level), Tone::Normal);
    setPhase(Phase::Ready);
}

void tTelExercise::Stop()
{
    ++m_run;
    m_timers.stopAll();
    m_audio.Stop();
    m_waiting = Waiting::None;
    if (m_busy) {
        m_busy = false;
        emit busyChanged(false);
    }
    if (m_phase != Phase::Finished)
        setPhase(Phase::Idle);
}

void tTelExercise::Pause()
{
    m_timers.pause();
}

void tTelExercise::resume()
{
    m_timers.resume();
}

void tTelExercise::setPhase(Phase phase)
{
    if (m_phase == phase)
        return;
    m_phase = phase;
    emit phaseChanged(phase);
}

void tTelExercise::setDisplay(const QString& text, Tone tone)
{
    m_display = text;
    m_tone = tone;
    emit displayChanged();
}

void tTelExercise::startTask()
{
    if (m_busy || (m_phase != Phase::Ready && m_phase != Phase::Pausing))
        return;
    if (m_tasksDone >= m_tasksTotal)
        return;
    const quint64 run = m_run;
    // The digits keep time from this moment, not from the end of the sound check.
    SteadyTime start = m_timers.clock().now();
    m_timers.stop(*m_newTrial);

    m_number = tel::makeNumber(m_random, m_length.Level);
    m_numLength = int(m_number.size());
    m_digitsEntered = 0;
    m_digitsExpected = m_numLength;
    if (m_stat) {
        m_stat->MinLevel = std::min<quint16>(m_stat->MinLevel, quint16(m_numLength));
        m_stat->MaxLevel = std::max<quint16>(m_stat->MaxLevel, quint16(m_numLength));
    }
    setDisplay(tel::dashPattern(m_numLength), m_tone);
    ++m_tasksDone;
    m_presentStep = 0;
    setPhase(Phase::Presenting);
    emit taskStarted(m_tasksDone, m_tasksTotal);
    if (run != m_run)
        return;

    // Checked at every task: a headset may be unplugged half-way through.
    const QString reason = m_audio.checkSound();
    m_spoken = m_mode != 2 && reason.isEmpty();
    if (!reason.isEmpty()) {
        emit soundUnavailable(reason);
        if (run != m_run)
            return;
        start = m_timers.clock().now(); // after the trainee has read the message
    }
    m_timers.startAt(*m_present, start + scaled(FirstDigitDelay));
}

void tTelExercise::scheduleNextStep(SteadyTime due)
{
    m_timers.startAt(*m_present, due);
}

void tTelExercise::presentStep()
{
    if (m_phase != Phase::Presenting)
        return;
    const quint64 run = m_run;
    // The moment this step was due; the read schedule counts from it, not from when the
    // step happened to run.
    const SteadyTime onset = m_present->due();
    ++m_presentStep;
    if (m_presentStep > m_numLength) {
        setDisplay(tel::dashPattern(m_numLength), m_tone);
        setPhase(Phase::Dialling);
        return;
    }
    const int index = m_presentStep - 1;
    QString text = m_display;
    tel::writeCell(text, index, m_spoken && m_mode == 1 ? QChar(u'*') : m_number.at(index));
    setDisplay(text, m_tone);
    emit digitShown(index);
    if (run != m_run)
        return;

    if (!m_spoken) {
        scheduleNextStep(onset + scaled(ReadDigitInterval));
        return;
    }
    const QString file = QString(m_number.at(index)) + QStringLiteral(".wav");
    switch (m_audio.play(file)) {
    case TelAudio::Start::Playing:
        waitForSound(Waiting::Digit);
        return;
    case TelAudio::Start::Missing:
        emit digitFileMissing(m_audio.pathOf(file));
        if (run != m_run)
            return;
        break;
    case TelAudio::Start::Failed:
        break;
    }
    // A digit that cannot be heard is shown instead, at the reading pace, so the
    // number stays one the trainee can know.
    if (m_mode == 1) {
        text = m_display;
        tel::writeCell(text, index, m_number.at(index));
        setDisplay(text, m_tone);
    }
    m_timers.start(*m_present, scaled(ReadDigitInterval));
}

void tTelExercise::waitForSound(Waiting what, std::chrono::nanoseconds atLeast)
{
    m_waiting = what;
    m_waitStart = m_timers.clock().now();
    m_waitAtLeastUntil = m_waitStart + atLeast;
    m_timers.start(*m_poll, scaled(PollInterval));
}

void tTelExercise::pollSound()
{
    const Waiting what = m_waiting;
    if (what == Waiting::None)
        return;
    const SteadyTime now = m_timers.clock().now();
    const bool playing = m_audio.isPlaying();
    if ((playing && now - m_waitStart < LongestSound) || now < m_waitAtLeastUntil) {
        m_timers.start(*m_poll, scaled(PollInterval));
        return;
    }
    if (playing)
        m_audio.Stop();
    m_waiting = Waiting::None;
    soundEnded(what);
}

void tTelExercise::soundEnded(Waiting what)
{
    switch (what) {
    case Waiting::Digit:
        m_timers.start(*m_present, scaled(SpokenDigitGap));
        break;
    case Waiting::DialTone:
        judge();
        break;
    case Waiting::Feedback:
        conclude();
        break;
    case Waiting::None:
        break;
    }
}

void tTelExercise::playQuietly(const QString& fileName, Waiting what)
{
    // Dial tone and feedback never hold the exercise up, but where they cannot be heard
    // the display waits as long as they would have lasted.
    const std::chrono::nanoseconds least = scaled(ShortestFeedback);
    if (m_audio.play(fileName) == TelAudio::Start::Playing)
        waitForSound(what, least);
    else
        waitForSound(what, std::max(least, scaled(m_audio.duration(fileName))));
}

bool tTelExercise::dial(int digit)
{
    if (!keypadEnabled() || m_busy || digit < 0 || digit > 9)
        return false;
    if (m_digitsEntered >= m_digitsExpected)
        return false;
    QString text = m_display;
    tel::writeCell(text, m_digitsEntered, QChar(u'0' + digit));
    ++m_digitsEntered;
    setDisplay(text, m_tone);
    if (m_digitsEntered == m_digitsExpected)
        evaluate();
    return true;
}

bool tTelExercise::hangUp()
{
    if (!keypadEnabled() || m_busy)
        return false;
    m_digitsEntered = 0;
    m_digitsExpected = m_numLength;
    setDisplay(tel::dashPattern(m_numLength), m_tone);
    return true;
}

void tTelExercise::evaluate()
{
    m_busy = true;
    emit busyChanged(true);
    setPhase(Phase::Evaluating);
    playQuietly(QStringLiteral("Wahlton.WAV"), Waiting::DialTone);
}

int tTelExercise::drawOther(int count, int last)
{
    int index = m_random.below(count);
    while (index == last)
        index = m_random.below(count);
    return index;
}

void tTelExercise::judge()
{
    m_lastCorrect = tel::dialled(m_display) == m_number;
    QString file;
    if (m_lastCorrect) {
        setDisplay(QStringLiteral("Verbunden!"), Tone::Right);
        m_lastRightSound = drawOther(17, m_lastRightSound);
        file = QStringLiteral("J%1.WAV").arg(m_lastRightSound + 1);
    } else {
        setDisplay(QStringLiteral("Falsch verbunden"), Tone::Wrong);
        m_lastWrongSound = drawOther(20, m_lastWrongSound);
        file = QStringLiteral("N%1.WAV").arg(m_lastWrongSound + 1);
    }
    playQuietly(file, Waiting::Feedback);
}

void tTelExercise::conclude()
{
    if (m_stat && decltype(m_stat->Trials)::contains(m_numLength)) {
        ++m_stat->Trials[m_numLength];
        if (m_lastCorrect)
            ++m_stat->Correct[m_numLength];
    }
    int best = m_stat ? int(m_stat->BestSpan) : NoValue;
    m_length.Record(m_lastCorrect, best);
    if (m_stat)
        m_stat->BestSpan = best;

    m_busy = false;
    emit busyChanged(false);
    setDisplay(QString(), Tone::Right);
    if (m_tasksDone >= m_tasksTotal) {
        setPhase(Phase::Finished);
        emit exerciseFinished();
        return;
    }
    // Armed before anyone hears of the pause, so the next task keeps its time.
    m_timers.start(*m_newTrial, scaled(NextTaskDelay));
    setPhase(Phase::Pausing);
}

} // namespace gf

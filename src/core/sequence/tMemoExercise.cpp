#include "core/sequence/tMemoExercise.h"

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

tMemoExercise::tMemoExercise(Random& random, MemoMedia& media, StepClock& clock, QObject* parent)
    : QObject(parent), m_random(random), m_media(media), m_timers(clock)
{
    m_pauseTimer = &m_timers.add([this] { eventDue(); });
    m_stageTimer = &m_timers.add([this] { eventOver(); });
    m_endTimer = &m_timers.add([this] { feedbackOver(); });
    m_keyTimer = &m_timers.add([this] { keyReleased(); });
}

tMemoExercise::~tMemoExercise() = default;

void tMemoExercise::prepare(int mode, int storedLevel, int tasksTotal, tBmpSndStat* stat,
                            int levelLow, int levelHigh)
{
    Stop();
    m_mode = std::clamp(mode, 1, 3);
    m_tasksTotal = std::max(tasksTotal, 0);
    m_stat = stat;
    m_rule = seq::BlockLevelRule(levelLow, levelHigh, memo::startLevel(storedLevel));
    m_items.clear();
    m_correctSeq.clear();
    m_answer.clear();
    m_typed.clear();
    m_presentStep = 0;
    m_tasksDone = 0;
    m_lastCorrect = false;
    m_mediaNoticeGiven = false;
    if (m_stat) {
        m_stat->BestSpan = NoValue;
        m_stat->MinLevel = m_stat->MaxLevel = quint16(m_rule.Level);
    }
    setStage(0, -1, memo::StageShow::Empty);
    emit answerChanged();
    setPhase(Phase::Ready);
}

void tMemoExercise::Stop()
{
    ++m_run;
    m_timers.stopAll();
    m_media.stopSound();
    m_pressedKey = 0;
    m_typed.clear();
    setPhase(finished() ? Phase::Finished : Phase::Idle);
}

void tMemoExercise::Pause()
{
    m_timers.pause();
}

void tMemoExercise::resume()
{
    m_timers.resume();
}

void tMemoExercise::setPhase(Phase phase)
{
    if (m_phase == phase)
        return;
    m_phase = phase;
    emit phaseChanged(phase);
}

void tMemoExercise::setStage(int step, int item, memo::StageShow show)
{
    if (m_stageStep == step && m_stageItem == item && m_stageShow == show)
        return;
    m_stageStep = step;
    m_stageItem = item;
    m_stageShow = show;
    emit stageChanged();
}

bool tMemoExercise::startTask()
{
    switch (m_phase) {
    case Phase::Ready:
    case Phase::WaitingForStart:
        if (m_tasksDone >= m_tasksTotal)
            finish();
        else
            beginTask();
        return true;
    case Phase::Ending:
        finish();
        return true;
    default:
        return false;
    }
}

void tMemoExercise::beginTask()
{
    const quint64 run = m_run;
    const SteadyTime start = m_timers.clock().now();
    for (StepTimer* t : {m_pauseTimer, m_stageTimer, m_endTimer, m_keyTimer})
        m_timers.stop(*t);
    m_media.stopSound();
    m_items = memo::makeSequence(m_random, m_rule.Level);
    m_correctSeq = memo::sequenceText(m_items);
    m_answer.clear();
    m_typed.clear();
    m_presentStep = 0;
    ++m_tasksDone;
    // Armed before anyone hears of the task, so the first event keeps its time.
    m_timers.startAt(*m_pauseTimer, start + scaled(EmptyStage));
    setStage(0, -1, memo::StageShow::Empty);
    setPhase(Phase::Presenting);
    if (run != m_run)
        return;
    emit answerChanged();
    emit taskStarted(m_tasksDone, m_tasksTotal);
}

void tMemoExercise::eventDue()
{
    if (m_phase != Phase::Presenting)
        return;
    const quint64 run = m_run;
    // Later steps count from when this one was due, not from when it happened to run.
    const SteadyTime onset = m_pauseTimer->due();
    ++m_presentStep;
    if (m_presentStep > m_items.size()) {
        m_media.stopSound();
        setStage(0, -1, memo::StageShow::Empty);
        setPhase(Phase::Answering);
        return;
    }
    m_timers.startAt(*m_stageTimer, onset + scaled(EventOnStage));
    m_stageOnset = onset;

    const int item = m_items.at(m_presentStep - 1);
    QString problem;
    // The picture comes first so that it is seen the moment the event begins; the
    // sound is started after it.
    bool picture = false;
    if (m_mode != 1) {
        picture = m_media.hasPicture(item);
        if (picture)
            setStage(m_presentStep, item, memo::StageShow::Picture);
        else
            problem = m_media.picturePath(item);
    }
    if (run != m_run)
        return;
    bool heard = false;
    if (m_mode != 2) {
        heard = m_media.playSound(item) == MemoMedia::Start::Playing;
        if (!heard) {
            if (problem.isEmpty())
                problem = m_media.soundPath(item);
            if (m_mode == 1)
                picture = m_media.hasPicture(item);
        }
    }
    setStage(m_presentStep, item, memo::stageContent(m_mode, picture, heard));
    if (run != m_run || problem.isEmpty() || m_mediaNoticeGiven)
        return;
    // Once per exercise: the same file would fail again at every event it stands for.
    m_mediaNoticeGiven = true;
    emit mediaMissing(problem);
}

void tMemoExercise::eventOver()
{
    if (m_phase != Phase::Presenting)
        return;
    const SteadyTime due = m_stageTimer->due();
    m_media.stopSound();
    m_timers.startAt(*m_pauseTimer, due + scaled(EmptyStage));
    setStage(0, -1, memo::StageShow::Empty);
}

bool tMemoExercise::Click(int key)
{
    if (!keypadActive() || paused() || key < 1 || key > memo::EventCount)
        return false;
    if (m_answer.size() >= m_items.size())
        return false;
    const quint64 run = m_run;
    const int item = key - 1;
    m_answer.append(item);
    m_pressedKey = key;
    m_timers.start(*m_keyTimer, scaled(KeyPressEffect));
    if (m_mode != 2)
        m_media.playSound(item); // an echo of the click; a failure is not worth a word
    emit answerChanged();
    if (run == m_run)
        emit keyPressChanged(key, true);
    return true;
}

bool tMemoExercise::Type(int key)
{
    if (m_phase != Phase::Answering || m_pressedKey == 0)
        return Click(key);
    if (paused() || key < 1 || key > memo::EventCount ||
        m_answer.size() + m_typed.size() >= m_items.size())
        return false;
    m_typed.append(key);
    return true;
}

void tMemoExercise::keyReleased()
{
    const int key = m_pressedKey;
    if (key == 0)
        return;
    const quint64 run = m_run;
    m_pressedKey = 0;
    emit keyPressChanged(key, false);
    if (run != m_run || m_phase != Phase::Answering)
        return;
    if (!m_typed.isEmpty())
        Click(m_typed.takeFirst());
    else if (m_answer.size() >= m_items.size())
        evaluate();
}

bool tMemoExercise::restart()
{
    if (!keypadActive() || paused())
        return false;
    m_answer.clear();
    m_typed.clear();
    emit answerChanged();
    return true;
}

void tMemoExercise::evaluate()
{
    m_lastCorrect = memo::answerRight(answerText(), m_correctSeq);
    const int level = int(m_items.size());
    if (m_stat && decltype(m_stat->Trials)::contains(level)) {
        ++m_stat->Trials[level];
        if (m_lastCorrect)
            ++m_stat->Correct[level];
    }
    int best = m_stat ? int(m_stat->BestSpan) : NoValue;
    if (m_rule.Record(m_lastCorrect, best) && m_stat) {
        // The graph shows the levels of whole blocks only.
        m_stat->MinLevel = std::min<quint16>(m_stat->MinLevel, quint16(level));
        m_stat->MaxLevel = std::max<quint16>(m_stat->MaxLevel, quint16(level));
        m_stat->BestSpan = best;
    }
    m_timers.start(*m_endTimer, scaled(FeedbackTime));
    const quint64 run = m_run;
    setPhase(Phase::Feedback);
    if (run == m_run)
        emit evaluated(m_lastCorrect);
}

void tMemoExercise::feedbackOver()
{
    if (m_phase != Phase::Feedback)
        return;
    const bool more = m_tasksDone < m_tasksTotal;
    if (m_lastCorrect) {
        if (more)
            beginTask();
        else
            finish();
        return;
    }
    // A wrong answer leaves the correct sequence in view until the trainee goes on.
    setPhase(more ? Phase::WaitingForStart : Phase::Ending);
}

void tMemoExercise::finish()
{
    m_timers.stopAll();
    m_media.stopSound();
    setPhase(Phase::Finished);
    emit exerciseFinished();
}

} // namespace gf

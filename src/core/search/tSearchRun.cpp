#include "core/search/tSearchRun.h"

#include "core/data/Random.h"
#include "core/data/Timing.h"
#include "core/search/ItemTables.h"

namespace gf {

using namespace search;

namespace {
std::chrono::nanoseconds scaled(std::chrono::milliseconds nominal)
{
    return timing::scaled(nominal);
}
} // namespace

tSearchRun::tSearchRun(Kind kind, Random& random, StepClock& clock, MessageSink* sink,
                       QObject* parent)
    : QObject(parent), m_kind(kind), m_random(random), m_sink(sink), m_timers(clock)
{
    m_display = &m_timers.add([this] { displayEnded(); });
    m_pause = &m_timers.add([this] { pauseEnded(); });
    m_fax = &m_timers.add([this] { faxTick(); });
}

tSearchRun::~tSearchRun() = default;

bool tSearchRun::Start(const ItemTables& tables, int taskCount)
{
    return Start(tables.Current, taskCount, wordShowTime(tables.DisplayTime));
}

bool tSearchRun::Start(std::shared_ptr<tConfig> table, int taskCount,
                       std::chrono::milliseconds wordShowTime)
{
    Stop();
    setPhase(Phase::Idle);
    if (!table || taskCount <= 0)
        return false;
    m_table = std::move(table);
    clearRunCounters(*m_table);
    m_showTime = m_kind == Kind::Picture ? PictureShowTime : wordShowTime;
    m_tasks = buildTaskList(*m_table, taskCount, m_random);
    if (m_tasks.isEmpty())
        return false;
    m_taskCount = int(m_tasks.size());
    m_taskNo = 1;
    m_retry = 0;
    m_status.clear();
    m_faxFrame = 1;
    m_faxStep = FaxFrameCount;
    emit statusChanged(m_status);
    emit faxFrameChanged(m_faxFrame);
    prepareTask();
    return true;
}

void tSearchRun::Stop()
{
    ++m_run;
    m_timers.stopAll();
    m_faxStep = FaxFrameCount;
    if (m_phase != Phase::Finished)
        setPhase(Phase::Idle);
}

void tSearchRun::Pause()
{
    m_timers.pause();
}

void tSearchRun::resume()
{
    m_timers.resume();
}

void tSearchRun::setPhase(Phase phase)
{
    if (m_phase == phase)
        return;
    m_phase = phase;
    emit phaseChanged(phase);
}

void tSearchRun::setStatus(int taskNo)
{
    m_status = (m_kind == Kind::Word ? QStringLiteral("Aufgabe %1 von %2")
                                     : QStringLiteral("Durchgang %1 von %2"))
                   .arg(taskNo)
                   .arg(m_taskCount);
    emit statusChanged(m_status);
}

void tSearchRun::prepareTask()
{
    const quint64 run = m_run;
    // A task whose word is not in the table (reported by prepareTask) is passed over.
    std::optional<tPreparedTask> prepared;
    while (m_taskNo <= m_taskCount) {
        prepared = search::prepareTask(*m_table, m_tasks[m_taskNo - 1], m_random, m_sink);
        if (run != m_run)
            return;
        if (prepared)
            break;
        ++m_taskNo;
    }
    if (!prepared) {
        m_taskNo = m_taskCount;
        finish();
        return;
    }
    tSampleCfg& task = m_tasks[m_taskNo - 1];
    task.Level = quint16(prepared->Level);
    m_sequence = prepared->Sequence;
    m_level = prepared->Level;
    m_retry = prepared->Retry;
    m_target = task.Text;
    m_position = 0;
    m_answered = false;
    m_query = tQuery{};
    m_verdict = tVerdict{};
    setPhase(Phase::Ready);
    emit taskReady(m_taskNo, m_taskCount);
}

void tSearchRun::startPass()
{
    if (m_phase != Phase::Ready)
        return;
    m_timers.start(*m_pause, scaled(PauseTime));
    setPhase(Phase::Presenting);
    emit itemCleared();
}

void tSearchRun::pauseEnded()
{
    if (m_phase != Phase::Presenting)
        return;
    if (m_position >= showCount())
        ask();
    else
        showItem(m_pause->due());
}

void tSearchRun::showItem(SteadyTime onset)
{
    const quint64 run = m_run;
    // Timed from when the item was due, so the time taken to show it counts.
    m_timers.startAt(*m_display, onset + scaled(m_showTime));
    if (m_kind == Kind::Picture && m_faxStep >= FaxFrameCount) {
        m_faxStep = 0;
        m_faxFrame = 1;
        m_timers.startAt(*m_fax, onset + scaled(FaxFrameTime));
        emit faxFrameChanged(m_faxFrame);
        if (run != m_run)
            return;
    }
    const tItemPos pos = m_sequence[m_position];
    tCell& cell = m_table->Cells[pos.Row][pos.Col];
    ++m_position;
    if (decltype(cell.PosShown)::contains(m_position))
        ++cell.PosShown[m_position];
    setStatus(m_taskNo);
    if (run != m_run)
        return;
    emit itemShown(m_position, cell.Text);
}

void tSearchRun::displayEnded()
{
    if (m_phase != Phase::Presenting)
        return;
    m_timers.startAt(*m_pause, m_display->due() + scaled(PauseTime));
    emit itemCleared();
}

void tSearchRun::faxTick()
{
    if (m_faxStep >= FaxFrameCount)
        return;
    ++m_faxStep;
    // Frames 2 and 3, then back to frame 1, where the machine rests.
    m_faxFrame = m_faxStep % FaxFrameCount + 1;
    if (m_faxStep < FaxFrameCount)
        m_timers.startAt(*m_fax, m_fax->due() + scaled(FaxFrameTime));
    emit faxFrameChanged(m_faxFrame);
}

void tSearchRun::ask()
{
    m_timers.stop(*m_display);
    m_timers.stop(*m_pause);
    m_query = makeQuery(*m_table, m_target, m_level);
    m_answered = false;
    setPhase(Phase::Asking);
    emit questionAsked(m_query);
}

tVerdict tSearchRun::Answer(int option)
{
    if (m_phase != Phase::Asking || m_answered)
        return m_verdict;
    m_verdict = judge(m_query, option);
    m_answered = true;
    Score(*m_table, m_target, m_verdict.Correct, m_level, m_sink);
    return m_verdict;
}

bool tSearchRun::nextTask()
{
    // A question without options cannot be answered; it must not hold the run.
    if (m_phase != Phase::Asking || (!m_answered && !m_query.Options.isEmpty()))
        return false;
    if (m_taskNo >= m_taskCount) {
        finish();
        return true;
    }
    const quint64 run = m_run;
    setStatus(m_taskNo + 1);
    if (run != m_run)
        return true;
    ++m_taskNo;
    m_retry = 0;
    prepareTask();
    return true;
}

void tSearchRun::finish()
{
    m_timers.stopAll();
    m_faxStep = FaxFrameCount;
    setPhase(Phase::Finished);
    emit runFinished();
}

bool tSearchRun::SumLevels(tWortKatStat& record) const
{
    if (!m_table)
        return false;
    search::SumLevels(*m_table, record);
    return true;
}

QStringList tSearchRun::sequenceTexts() const
{
    QStringList out;
    if (m_table)
        for (const tItemPos& pos : m_sequence)
            out.append(m_table->Cells[pos.Row][pos.Col].Text);
    return out;
}

} // namespace gf

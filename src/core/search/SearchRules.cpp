#include "core/search/SearchRules.h"

#include "core/data/MessageSink.h"
#include "core/data/Random.h"
#include "core/search/ItemTables.h"

#include <algorithm>

namespace gf::search {

int FindColumn(const tConfig& table, const QString& text)
{
    for (int r = 3; r <= table.RowCount; ++r)
        for (int c = 1; c <= table.ColCount; ++c)
            if (table.Cells[r][c].Text == text)
                return c;
    return -1;
}

std::optional<tItemPos> findItem(const tConfig& table, const QString& text)
{
    for (int r = 3; r <= table.RowCount; ++r)
        for (int c = 2; c <= table.ColCount; ++c)
            if (table.Cells[r][c].Text == text)
                return tItemPos{r, c};
    return std::nullopt;
}

tCell* FindCell(tConfig& table, const QString& text)
{
    const auto pos = findItem(table, text);
    return pos ? &table.Cells[pos->Row][pos->Col] : nullptr;
}

void clearRunCounters(tConfig& table)
{
    for (auto& row : table.Cells)
        for (tCell& cell : row) {
            cell.Correct = 0;
            cell.Asked = 0;
            cell.PosShown.fill(0);
            cell.AskedPerLevel.fill(0);
            cell.CorrectPerLevel.fill(0);
        }
}

std::chrono::milliseconds wordShowTime(qint32 displayTime)
{
    if (displayTime <= 0)
        return DefaultWordShowTime;
    return std::clamp(std::chrono::milliseconds(displayTime), MinWordShowTime, MaxWordShowTime);
}

QList<tSampleCfg> buildTaskList(const tConfig& table, int taskCount, Random& random)
{
    QList<tSampleCfg> tasks;
    const int categories = table.ColCount - 1;
    if (taskCount <= 0 || categories < 1 || table.RowCount < 3)
        return tasks;
    // Bags of tokens drawn without replacement: every level and category comes round
    // as often as the number of tasks allows.
    QList<tWord> levels;
    QList<tWord> columns;
    for (int i = 0; i < taskCount; ++i) {
        levels.append(tWord{quint16(i % LevelCount + 1)});
        columns.append(tWord{quint16(i % categories + 2)});
    }
    QString previous;
    for (int n = 0; n < taskCount; ++n) {
        tSampleCfg task;
        task.Level = levels.takeAt(random.below(int(levels.size()))).Value;
        task.ShowCount = quint16(MinShowCount + random.uniform(0, MaxShowCount - MinShowCount));
        const int column = columns.takeAt(random.below(int(columns.size()))).Value;
        QString text;
        for (int draw = 0; draw < MaxWordDraws; ++draw) {
            text = table.Cells[random.uniform(3, table.RowCount)][column].Text;
            if (CountTasks(tasks, text) < 2 && text != previous)
                break;
        }
        task.Text = text;
        previous = text;
        tasks.append(task);
    }
    return tasks;
}

bool checkSequence(QList<tItemPos>& sequence, int level, int column, Random& random)
{
    if (level <= 1)
        return true;
    const int count = int(sequence.size());
    const int target = count - level;
    if (target < 0)
        return false;
    for (int i = target + 1; i < count; ++i) {
        if (sequence[i].Col != column)
            continue;
        bool moved = false;
        for (int draw = 0; draw < MaxSwapDraws && target > 0; ++draw) {
            const int j = random.below(target);
            if (sequence[j].Col != column) {
                std::swap(sequence[i], sequence[j]);
                moved = true;
                break;
            }
        }
        if (!moved)
            return false;
    }
    return true;
}

std::optional<tPreparedTask> prepareTask(const tConfig& table, const tSampleCfg& task,
                                         Random& random, MessageSink* sink)
{
    const auto target = findItem(table, task.Text);
    if (!target) {
        if (sink)
            sink->plainMessage(QStringLiteral("Nicht gefunden: ") + task.Text);
        return std::nullopt;
    }
    const int items = (table.RowCount - 2) * (table.ColCount - 1);
    // The loader keeps tables at 10 items or more; a smaller one shows what it has.
    const int showCount = std::clamp(int(task.ShowCount), 1, items);
    // With more items than shown, the sought word gives its place in the pool to another
    // word of its category, so it is normally shown only where the task puts it.
    const bool standIn = items > showCount;

    tPreparedTask out;
    int level = std::clamp(int(task.Level), 1, std::min(LevelCount, showCount));
    for (;;) {
        QList<tItemPos> pool;
        for (int r = 3; r <= table.RowCount; ++r)
            for (int c = 2; c <= table.ColCount; ++c) {
                tItemPos pos{r, c};
                if (standIn && table.Cells[r][c].Text == task.Text) {
                    for (int draw = 0; draw < MaxWordDraws; ++draw) {
                        pos = tItemPos{random.uniform(3, table.RowCount), target->Col};
                        if (table.Cells[pos.Row][pos.Col].Text != task.Text)
                            break;
                    }
                }
                pool.append(pos);
            }
        QList<tItemPos> sequence;
        for (int i = 0; i < showCount; ++i)
            sequence.append(pool.takeAt(random.below(int(pool.size()))));
        sequence[showCount - level] = *target;
        if (checkSequence(sequence, level, target->Col, random)) {
            out.Sequence = sequence;
            out.Level = level;
            return out;
        }
        if (++out.Retry > MaxRetries) {
            // No order keeps the category clear after the word: ask for the last item.
            sequence[showCount - 1] = *target;
            out.Sequence = sequence;
            out.Level = 1;
            return out;
        }
    }
}

QString questionText(const tConfig& table, int category)
{
    return QStringLiteral("Welches war ") + table.Cells[2][category].Text +
           QStringLiteral(" letzte ") + table.Cells[1][category].Text + QStringLiteral("?");
}

tQuery makeQuery(const tConfig& table, const QString& target, int level)
{
    tQuery q;
    q.Target = target;
    q.Level = level;
    q.Category = FindColumn(table, target);
    if (q.Category < 0) {
        q.Error = QStringLiteral("ungültige Kategorie");
        return q;
    }
    q.Question = questionText(table, q.Category);
    for (int r = 3; r <= table.RowCount; ++r) {
        const QString& text = table.Cells[r][q.Category].Text;
        if (q.Sought < 0 && text == target)
            q.Sought = int(q.Options.size());
        q.Options.append(text);
    }
    return q;
}

tVerdict judge(const tQuery& query, int chosen)
{
    tVerdict v;
    v.Chosen = chosen;
    v.Sought = query.Sought;
    v.Correct =
        chosen >= 0 && chosen < query.Options.size() && query.Options[chosen] == query.Target;
    v.Verdict = v.Correct ? QStringLiteral("Korrekt") : QStringLiteral("Leider falsch!");
    if (!v.Correct && v.Sought >= 0)
        v.Correction = QStringLiteral("Gesucht wurde:");
    return v;
}

bool Score(tConfig& table, const QString& item, bool correct, int level, MessageSink* sink)
{
    tCell* cell = FindCell(table, item);
    if (!cell) {
        if (sink)
            sink->message(item + QStringLiteral(" nicht gefunden"), mkFehlermeldung, btn::OK, 0);
        return false;
    }
    level = std::clamp(level, 1, LevelCount);
    ++cell->Asked;
    ++cell->AskedPerLevel[level];
    if (correct) {
        ++cell->Correct;
        ++cell->CorrectPerLevel[level];
    }
    return true;
}

void SumLevels(const tConfig& table, tWortKatStat& record)
{
    for (int k = 1; k <= LevelCount; ++k) {
        quint16 asked = 0;
        quint16 right = 0;
        for (int r = 3; r <= table.RowCount; ++r)
            for (int c = 2; c <= table.ColCount; ++c) {
                asked += table.Cells[r][c].AskedPerLevel[k];
                right += table.Cells[r][c].CorrectPerLevel[k];
            }
        record.AskedPerLevel[k] = asked;
        record.CorrectPerLevel[k] = right;
    }
}

double chartPercent(int correct, int asked)
{
    if (asked <= 0)
        return 0.0;
    const qint64 scaled = 1000LL * correct;
    qint64 q = scaled / asked;
    const qint64 rest = scaled % asked;
    if (2 * rest > asked || (2 * rest == asked && q % 2 != 0))
        ++q;
    return double(q) / 10.0;
}

namespace {
QString modeName(int chartMode)
{
    return chartMode == cmWord ? QStringLiteral("Wortfahndung") : QStringLiteral("Bildfahndung");
}
} // namespace

tChart LevelChart(const tConfig& table, int chartMode)
{
    static const char* const captions[] = {"letztes", "vorletztes", "drittletztes", "viertletztes"};
    tChart chart;
    chart.Title = modeName(chartMode) + QStringLiteral(": Treffer pro Position");
    chart.Rgb = chartMode == cmWord ? 0x86F2CA : 0x0000FF;
    tWortKatStat sums;
    SumLevels(table, sums);
    for (int k = 1; k <= LevelCount; ++k)
        if (sums.AskedPerLevel[k] > 0)
            chart.Bars.append({QString::fromLatin1(captions[k - 1]),
                               chartPercent(sums.CorrectPerLevel[k], sums.AskedPerLevel[k])});
    return chart;
}

tChart categoryChart(const tConfig& table, int chartMode)
{
    tChart chart;
    chart.Title = modeName(chartMode) + QStringLiteral(": Treffer pro Kategorie");
    chart.Rgb = chartMode == cmWord ? 0x8C9EF2 : 0xFF0000;
    for (int c = 2; c <= table.ColCount; ++c) {
        int asked = 0;
        int right = 0;
        for (int r = 3; r <= table.RowCount; ++r) {
            asked += table.Cells[r][c].Asked;
            right += table.Cells[r][c].Correct;
        }
        if (asked > 0)
            chart.Bars.append({table.Cells[1][c].Text, chartPercent(right, asked)});
    }
    return chart;
}

} // namespace gf::search

#pragma once

#include "core/data/Records.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <chrono>
#include <optional>

namespace gf {

class MessageSink;
class Random;

// Rules of the word search and the picture search that need no window. Both exercises
// run the same tasks over an item table; only the presentation differs.
namespace search {

// Nominal intervals, before the test-run scaling.
constexpr std::chrono::milliseconds PauseTime{1000};       // blank between items
constexpr std::chrono::milliseconds PictureShowTime{3000}; // whatever the file says
constexpr std::chrono::milliseconds DefaultWordShowTime{1500};
constexpr std::chrono::milliseconds MinWordShowTime{300}; // a stored time is held to these
constexpr std::chrono::milliseconds MaxWordShowTime{10000};
constexpr std::chrono::milliseconds FaxFrameTime{500};
constexpr int FaxFrameCount = 3;

constexpr int LevelCount = 4;
constexpr int MinShowCount = 4;
constexpr int MaxShowCount = 10;
constexpr int MaxWordDraws = 10000; // sought word and its stand-in in the pool
constexpr int MaxSwapDraws = 5000;
constexpr int MaxRetries = 500; // failed sequences before a task falls back to level 1

// Graph modes, as the caller sets them.
enum ChartMode : int
{
    cmPicture = 1,
    cmWord = 2
};

// Where an item stands in its table (Cells[Row][Col]); its category is its column.
struct tItemPos
{
    int Row = 0;
    int Col = 0;
    bool operator==(const tItemPos&) const = default;
};

// Column of the first cell with this text, rows 3.., columns 1.. in row order; -1.
int FindColumn(const tConfig& table, const QString& text);
// The first item cell (rows 3.., columns 2..) with this text.
std::optional<tItemPos> findItem(const tConfig& table, const QString& text);
tCell* FindCell(tConfig& table, const QString& text);
// Every counter of every item cell to 0, so a run counts only itself even when its
// table could not be read afresh.
void clearRunCounters(tConfig& table);

// Display time of a word from the table file's settings; a time that would not show
// the word at all gives the default, any other is held to 300..10000 ms.
std::chrono::milliseconds wordShowTime(qint32 displayTime);

// The tasks of a run: levels 1..4 and categories dealt from bags so that they are spread
// evenly; a word is sought at most twice and never twice in a row, unless 10,000 draws
// find no other.
QList<tSampleCfg> buildTaskList(const tConfig& table, int taskCount, Random& random);

struct tPreparedTask
{
    QList<tItemPos> Sequence; // in presentation order; the target at ShowCount - Level
    int Level = 1;            // 1 when every try failed
    int Retry = 0;            // failed checks
};

// The items shown for one task. Reports "Nicht gefunden: " + the sought word and returns
// nothing when the word is no item of the table.
std::optional<tPreparedTask> prepareTask(const tConfig& table, const tSampleCfg& task,
                                         Random& random, MessageSink* sink);

// Moves items of `column` that follow the target (at size - level) in front of it, by
// swaps with items of other columns. False when one cannot be moved.
bool checkSequence(QList<tItemPos>& sequence, int level, int column, Random& random);

// The question after a task.
struct tQuery
{
    QString Target;
    int Category = -1; // FindColumn of Target
    int Level = 1;
    QString Question;    // empty, and Error set, when Category < 0
    QString Error;       // "ungültige Kategorie"
    QStringList Options; // the items of the category in table order (pictures: names)
    int Sought = -1;     // option that is Target; -1 when none is
};

// "Welches war " + article + " letzte " + category + "?"
QString questionText(const tConfig& table, int category);
tQuery makeQuery(const tConfig& table, const QString& target, int level);

struct tVerdict
{
    bool Correct = false;
    int Chosen = -1;
    int Sought = -1;    // the query's Sought
    QString Verdict;    // "Korrekt" or "Leider falsch!"
    QString Correction; // "Gesucht wurde:" after a wrong answer when Target is an option
};
tVerdict judge(const tQuery& query, int chosen);

// Counts an answer into the first item cell of `item`. Reports item + " nicht gefunden"
// as an error and counts nothing when there is none.
bool Score(tConfig& table, const QString& item, bool correct, int level, MessageSink* sink);
// The per-level counts of the table into the run's record (tBmpKatStat is one too).
void SumLevels(const tConfig& table, tWortKatStat& record);

// Percent with one decimal: 1000 * correct / asked rounded half to even, then / 10.
double chartPercent(int correct, int asked);

struct tChartBar
{
    QString Caption;
    double Value = 0.0;
};
struct tChart
{
    QString Title;
    quint32 Rgb = 0; // 0xRRGGBB of every bar
    QList<tChartBar> Bars;
};
// Right answers per level ("letztes" .. "viertletztes") and per category of the run just
// played; levels and categories never asked have no bar.
tChart LevelChart(const tConfig& table, int chartMode);
tChart categoryChart(const tConfig& table, int chartMode);

} // namespace search
} // namespace gf

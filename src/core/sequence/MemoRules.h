#pragma once

#include "core/sequence/SequenceRules.h"

#include <QString>
#include <QVector>

namespace gf {

class Random;
struct tBmpSndStat;

// Rules of the memo protocol that need no window.
namespace memo {

constexpr int EventCount = 10;     // events 0..9, keyed 1..10
constexpr int LevelLimitLow = 2;   // the level rule lowers no level to below this
constexpr int LevelLimitHigh = 15; // and raises none above this
constexpr int MinStartLevel = 1;
constexpr int MaxStartLevel = 17;
constexpr int MaxLevel = 20; // the answer row and the record hold 20 events
constexpr int MaxRun = 2;    // never three equal events in a row

// Picture and sound of event `item` (0..9), file names in the picture and sound
// folders; empty for any other item.
QString pictureFile(int item);
QString soundFile(int item);

// The events of one task: `level` draws (limited to 1..20) from 0..9, never three
// equal ones in a row.
QVector<int> makeSequence(Random& random, int level);

// A sequence written down: per event its key number (item + 1) and one blank.
QString sequenceText(const QVector<int>& items);
// The answer is right only when every position holds the right event.
bool answerRight(const QString& answer, const QString& correctSeq);

// The level of the first task from the trainee's stored start level.
int startLevel(int storedLevel);
// Start level stored for the next exercise after one whose best passed level was
// `bestSpan` (-999 when no block of two was passed).
int nextStartLevel(int bestSpan);
// The level rule of an exercise starting at `startLevel`.
seq::BlockLevelRule levelRule(int startLevel);

// What the stage shows while event is presented.
enum class StageShow
{
    Empty,   // heard only: the stage stays empty
    Picture, // the event's picture
    Number   // the event's key number, when it can be neither seen nor heard
};
// Mode 1 hears, 2 sees, 3 sees and hears. An event whose sound cannot be played is
// shown instead; one without a picture is shown by its number unless it is heard.
StageShow stageContent(int mode, bool pictureAvailable, bool soundPlaying);

// Mode names of the results title.
QString ModeText(int mode);
// "Memo-Protokoll (<mode>, <n> Übungen)".
QString graphTitle(const tBmpSndStat& stat);
// One bar per level of MinLevel..MaxLevel that was presented.
QVector<seq::LengthBar> graphBars(const tBmpSndStat& stat);

} // namespace memo
} // namespace gf

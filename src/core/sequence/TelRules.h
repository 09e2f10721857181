#pragma once

#include "core/sequence/SequenceRules.h"

#include <QString>

namespace gf {

class Random;

// Rules of the telephone switchboard that need no window.
namespace tel {

constexpr int MinLength = 3;
constexpr int MaxLength = 15;
constexpr int MaxStartLength = 12; // a new exercise never starts longer than this
constexpr int MaxRun = 3;          // no digit more than three times in a row

// A number of `length` digits (limited to 3..15): never a leading 0, never four equal
// digits in succession.
QString makeNumber(Random& random, int length);

// Start length of an exercise from the trainee's stored start level.
int startLength(int storedLevel);

// Start level stored for the next exercise after one whose best passed length was
// `bestSpan` (-999 when no block of two was passed).
int nextStartLevel(int bestSpan);

// The display: one two-character cell per digit, "- " until a digit is written.
QString dashPattern(int cells);
// Writes `digit` over the dash of cell `cell`; cells outside the pattern are ignored.
void writeCell(QString& display, int cell, QChar digit);
// What the trainee dialled: the display without its blanks.
QString dialled(const QString& display);

// Length adaptation in blocks of two tasks, within 3..15, from the start length.
seq::BlockLevelRule lengthRule(int startLength);

using seq::percentOneDecimal;

// Mode names of the results title.
QString ModeText(int mode);

} // namespace tel
} // namespace gf

#pragma once

#include "core/data/Records.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace gf {

struct tWortKatStat;
struct tTeleStat;
struct tBmpSndStat;

// The tip of the day: which text or tip page follows from the last result.
namespace tips {

constexpr double NoScore = -999.0;

struct Tip
{
    enum Kind
    {
        None,
        Lines,
        Page
    };
    Kind kind = None;
    QStringList paragraphs; // Lines: one paragraph each, "#" not yet replaced
    int page = 0;           // Page: tip<page>.rtf
    // Lines: which text it is, e.g. "search-praise-2", "word-advice-3", "sequence-praise-0".
    QString key;
};

// Sum over the asked levels of the percentage right (0..400); NoScore without record.
double searchScore(const tWortKatStat& stat);
template <typename List> double lastSearchScore(const List& list)
{
    return list.isEmpty() ? NoScore : searchScore(list.last());
}
template <typename List> double lastBestSpan(const List& list)
{
    return list.isEmpty() ? NoScore : double(list.last().BestSpan);
}

// The tip for a work area's score; `tipNo` is its advice group or tip page.
Tip chooseTip(ExerciseKind area, double score, int tipNo);

QString Heading(ExerciseKind area);  // "Tagestipp zur Wort-Fahndung", ...
QString areaName(ExerciseKind area); // window caption; "--" for anything else
// A table line with every "#" replaced by the detective's name.
QString TipText(const QString& line, const QString& name);

} // namespace tips
} // namespace gf

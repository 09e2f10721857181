#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace gf {

struct tWortKatStat;
struct tTeleStat;
struct tBmpSndStat;

// The tip of the day: which text or tip page follows from the last result.
namespace tips {

enum Area : int
{
    Wort = 1,
    Bild = 2,
    Tel = 3,
    Memo = 4
};

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
};

// Sum over the asked levels of the percentage right (0..400); NoScore without record.
double SearchScore(const tWortKatStat& stat);
template <typename List> double LastSearchScore(const List& list)
{
    return list.isEmpty() ? NoScore : SearchScore(list.last());
}
template <typename List> double LastBestSpan(const List& list)
{
    return list.isEmpty() ? NoScore : double(list.last().BestSpan);
}

// The tip for a work area's score; `tipNo` is its advice group or tip page.
Tip ChooseTip(int area, double score, int tipNo);

QString Heading(int area);  // "Tagestipp zur Wort-Fahndung", ...
QString AreaName(int area); // window caption; "--" for anything else
// A table line with every "#" replaced by the detective's name.
QString TipText(const QString& line, const QString& name);

} // namespace tips
} // namespace gf

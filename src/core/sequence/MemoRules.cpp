#include "core/sequence/MemoRules.h"

#include "core/data/Records.h"

#include <algorithm>
#include <array>

namespace gf::memo {

namespace {
struct EventMedia
{
    const char* picture;
    const char* sound;
};
constexpr std::array<EventMedia, EventCount> Events{{
    {"Auto", "Honk"},
    {"Huhn", "Hahn"},
    {"Harfe", "Harfe"},
    {"Hund", "Hund"},
    {"Kuh", "Kuh"},
    {"Orgel", "Orgel"},
    {"Trommel", "Drumrol3"},
    {"Trompete", "Trompete"},
    {"Geige", "Geige"},
    {"Vogel", "Vogel"},
}};
} // namespace

QString pictureFile(int item)
{
    if (item < 0 || item >= EventCount)
        return QString();
    return QString::fromLatin1(Events[std::size_t(item)].picture) + QStringLiteral(".bmp");
}

QString soundFile(int item)
{
    if (item < 0 || item >= EventCount)
        return QString();
    return QString::fromLatin1(Events[std::size_t(item)].sound) + QStringLiteral(".WAV");
}

QVector<int> makeSequence(Random& random, int level)
{
    return seq::drawRunLimited(random, std::clamp(level, 1, MaxLevel), 0, MaxRun);
}

QString sequenceText(const QVector<int>& items)
{
    QString text;
    for (int item : items)
        text += QString::number(item + 1) + u' ';
    return text;
}

bool answerRight(const QString& answer, const QString& correctSeq)
{
    return answer == correctSeq;
}

int startLevel(int storedLevel)
{
    return std::clamp(storedLevel, MinStartLevel, MaxStartLevel);
}

int nextStartLevel(int bestSpan)
{
    return bestSpan < 2 ? 1 : bestSpan - 1;
}

seq::BlockLevelRule levelRule(int startLevel)
{
    return seq::BlockLevelRule(LevelLimitLow, LevelLimitHigh, startLevel);
}

StageShow stageContent(int mode, bool pictureAvailable, bool soundPlaying)
{
    // A sound that fails in the hearing mode leaves the picture to present the event.
    const bool seen = mode != 1 || !soundPlaying;
    if (seen && pictureAvailable)
        return StageShow::Picture;
    return soundPlaying ? StageShow::Empty : StageShow::Number;
}

QString ModeText(int mode)
{
    switch (mode) {
    case 1:
        return QStringLiteral("nur Hören");
    case 2:
        return QStringLiteral("nur Sehen");
    case 3:
        return QStringLiteral("Hören und Sehen");
    default:
        return QString();
    }
}

QString graphTitle(const tBmpSndStat& stat)
{
    return QStringLiteral("Memo-Protokoll (") + ModeText(stat.Mode) + QStringLiteral(", ") +
           QString::number(stat.TaskCount) + QStringLiteral(" Übungen)");
}

QVector<seq::LengthBar> graphBars(const tBmpSndStat& stat)
{
    return seq::lengthBars(stat);
}

} // namespace gf::memo

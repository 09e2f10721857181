#include "sequence/TelRules.h"

#include "data/Random.h"

#include <algorithm>
#include <cmath>

namespace gf::tel {

QString MakeNumber(Random& random, int length)
{
    const int n = std::clamp(length, MinLength, MaxLength);
    QString number;
    number.reserve(n);
    int run = 0;
    for (int i = 0; i < n; ++i) {
        int d = i == 0 ? random.uniform(1, 9) : random.uniform(0, 9);
        const int prev = i == 0 ? -1 : number.at(i - 1).digitValue();
        if (d == prev && run == MaxRun) {
            while (d == prev)
                d = random.uniform(0, 9);
        }
        run = d == prev ? run + 1 : 1;
        number.append(QChar(u'0' + d));
    }
    return number;
}

int StartLength(int storedLevel)
{
    return std::clamp(storedLevel, MinLength, MaxStartLength);
}

int NextStartLevel(int bestSpan)
{
    return bestSpan > MinLength ? bestSpan - 1 : MinLength;
}

QString DashPattern(int cells)
{
    return QStringLiteral("- ").repeated(std::max(cells, 0));
}

void WriteCell(QString& display, int cell, QChar digit)
{
    const int pos = 2 * cell;
    if (cell >= 0 && pos < display.size())
        display[pos] = digit;
}

QString Dialled(const QString& display)
{
    QString out = display;
    out.remove(u' ');
    return out;
}

void LengthRule::Record(bool correct, int& bestSpan)
{
    ++nTrials;
    if (correct)
        ++nCorrect;
    if (nTrials < 2)
        return;
    if (nCorrect == 2) {
        bestSpan = std::max(bestSpan, CurLength);
        if (CurLength < MaxLength)
            ++CurLength;
    } else if (nCorrect == 0) {
        if (CurLength > MinLength)
            --CurLength;
    }
    nTrials = 0;
    nCorrect = 0;
}

double PercentOneDecimal(int correct, int trials)
{
    if (trials == 0)
        return 0.0;
    return double(std::lround(double(correct) * 1000.0 / double(trials))) / 10.0;
}

QString ModeText(int mode)
{
    switch (mode) {
    case 1:
        return QStringLiteral("nur Hören");
    case 2:
        return QStringLiteral("nur Lesen");
    case 3:
        return QStringLiteral("Hören und Lesen");
    default:
        return QString();
    }
}

} // namespace gf::tel

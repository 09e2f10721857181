#include "core/sequence/TelRules.h"

#include <algorithm>

namespace gf::tel {

QString makeNumber(Random& random, int length)
{
    const int n = std::clamp(length, MinLength, MaxLength);
    QString number;
    number.reserve(n);
    for (int d : seq::drawRunLimited(random, n, 1, MaxRun))
        number.append(QChar(u'0' + d));
    return number;
}

int startLength(int storedLevel)
{
    return std::clamp(storedLevel, MinLength, MaxStartLength);
}

int nextStartLevel(int bestSpan)
{
    return bestSpan > MinLength ? bestSpan - 1 : MinLength;
}

QString dashPattern(int cells)
{
    return QStringLiteral("- ").repeated(std::max(cells, 0));
}

void writeCell(QString& display, int cell, QChar digit)
{
    const int pos = 2 * cell;
    if (cell >= 0 && pos < display.size())
        display[pos] = digit;
}

QString dialled(const QString& display)
{
    QString out = display;
    out.remove(u' ');
    return out;
}

seq::BlockLevelRule lengthRule(int startLength)
{
    return seq::BlockLevelRule(MinLength, MaxLength, startLength);
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

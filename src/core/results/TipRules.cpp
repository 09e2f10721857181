#include "core/results/TipRules.h"

#include "core/data/Records.h"

#include <algorithm>

namespace gf::tips {

namespace {

using Table = QList<QStringList>;

const Table& sequencePraise()
{
    static const Table t = {
        {"Hallo Detektiv #, Sie leisten eine gute Arbeit!",
         "Gratulation, so arbeitet nur ein echter Detektiv!",
         "Wie wär´s einmal mit einer anderen Aufgabe? "},
        {"Sie sind ein begabter Detektiv!", "Nehmen Sie die Beförderung an, arbeiten Sie mit ",
         "einer anderen Aufgabe weiter!"},
        {"Hilfe, Sie sind ja besser als die Memo-Polizei erlaubt!",
         "Wenn Sie nicht gemogelt haben, ist dies ein ", "geniales Ergebnis!"},
        {"Stop! ", "Sie sind zu gut für diesen Programmteil!", ""},
        {"Wenn Sie nicht für einen Auftritt bei", "`Wetten-Dass?´ trainieren wollen, dann wenden ",
         "Sie sich jetzt bitte anderen Aufgaben zu!"},
        {"Diese Übung kann Ihnen nichts Neues mehr bieten! ", "Sie sind einfach zu gut!",
         "Bitte wenden Sie sich anderen Aufgaben zu!"},
    };
    return t;
}

const Table& searchPraise()
{
    static const Table t = {
        {"Detektiv #,", "herzlichen Dank für Ihre Mitarbeit!",
         "Hiermit verabschieden wir uns von unserem besten Mitarbeiter.",
         "Stellen Sie sich neuen Lebensaufgaben!"},
        {"Detektiv #,", "herzlichen Dank für Ihre Mitarbeit!",
         "Wenn Sie in allen Bereichen derart gute Leistungen erbringen,",
         "sollten Sie sich anderen Lebensaufgaben widmen!"},
        {"Das läuft ja prima! Mit Ihnen erzielen wir", "gute Ergebnisse bei der Fahndung!",
         "Nicht vergessen: Bleiben Sie Mensch und ", "fordern Sie nicht zuviel von sich!"},
        {"Detektiv #, ", "Sie sind auf der richtigen Spur.", "Lassen Sie sich nicht ablenken, ",
         "gehen Sie die Sache ruhig an!"},
        {"Detektiv #,", "Ihre Erfolge sind sichtbar!", "Sie fassen etwas mehr als die Hälfte aller",
         "Memo-Täter."},
    };
    return t;
}

Table wordAdvice()
{
    return {
        {"Versuchen Sie bitte NICHT, sich ALLES zu merken,",
         "es kommt nur auf die letzten 4 Meldungen an, ",
         "alle anderen darf und muß man vergessen.", "", ""},
        {"Manche Aufgaben sind leichter, manche schwerer, ",
         "lassen Sie sich davon nicht irritieren.",
         "Je mehr Meldungen zwischen `Fax` und Frage erscheinen, ",
         "desto schwerer ist die Aufgabe.", ""},
        {"Lesen Sie die Worte doch mal laut mit. ", "Das kann sehr beim Einprägen helfen!", "", "",
         ""},
        {"Ein Spaziergang und ein wenig Frischluft", "wären eine gute Erholung nach dieser Übung.",
         "", "", ""},
        {"Können Sie störungsfrei arbeiten?", "Wenn Hund und Katze um den Monitor jagen,",
         "wird es nicht leichter, sondern schwerer.", "Bitte alle Ablenkungen vermeiden!", ""},
        {"Manchmal muß man raten, \"wer oder was es",
         "gewesen sein könnte\". Diese Ratetechnik ist o.k.",
         "und führt erstaunlich oft zum Erfolg. ",
         "Lassen Sie sich auch mal von Ihrer Ahnung leiten.", ""},
        {"Sie sehen, auch ein Detektiv ist nur ein Mensch.",
         "Manches klappt gut, manches weniger. ", "Das ist menschlich und kein Grund zum Ärgern.",
         "Übrigens: auch Computer brauchen kleine Pausen.", "Und wie steht`s mit Ihnen?"},
    };
}

const Table& wordAdviceTable()
{
    static const Table t = wordAdvice();
    return t;
}

const Table& pictureAdviceTable()
{
    static const Table t = [] {
        Table p = wordAdvice();
        p[2] = {"Haben Sie schon versucht, die Bilder ", "laut zu benennen?", "", "", ""};
        p[6][0] = "Sie sehen , auch ein Detektiv ist nur ein Mensch.";
        return p;
    }();
    return t;
}

// Each table line becomes an empty paragraph and the line.
Tip linesTip(const QStringList& group, bool leadingEmpty, const QString& key)
{
    Tip tip;
    tip.kind = Tip::Lines;
    tip.key = key;
    if (leadingEmpty)
        tip.paragraphs << QString();
    for (const QString& line : group)
        tip.paragraphs << QString() << line;
    return tip;
}

// Group numbers come from program-wide values; one out of range must not index past
// the table.
int groupNumber(const Table& table, int number)
{
    return std::clamp(number, 1, int(table.size()));
}

} // namespace

double searchScore(const tWortKatStat& stat)
{
    double score = 0.0;
    for (int l = 1; l <= 4; ++l)
        if (stat.AskedPerLevel[l] != 0)
            score += double(stat.CorrectPerLevel[l]) * 100.0 / double(stat.AskedPerLevel[l]);
    return score;
}

Tip chooseTip(ExerciseKind area, double score, int tipNo)
{
    if (score == NoScore)
        return {};
    if (area == ExerciseKind::Wort || area == ExerciseKind::Bild) {
        const Table& praise = searchPraise();
        const int band = score >= 380 ? 0
                         : score >= 350 ? 1
                         : score >= 300 ? 2
                         : score >= 250 ? 3
                         : score >= 200 ? 4
                                        : -1;
        if (band >= 0)
            return linesTip(praise[band], true, QStringLiteral("search-praise-%1").arg(band));
        const bool words = area == ExerciseKind::Wort;
        const Table& advice = words ? wordAdviceTable() : pictureAdviceTable();
        const int n = groupNumber(advice, tipNo);
        return linesTip(advice[n - 1], !words,
                        QStringLiteral("%1-advice-%2").arg(words ? "word" : "picture").arg(n));
    }
    if (area == ExerciseKind::Tel || area == ExerciseKind::Memo) {
        if (score < 5) {
            Tip tip;
            tip.kind = Tip::Page;
            tip.page = tipNo;
            return tip;
        }
        const Table& praise = sequencePraise();
        const int index = score < 8    ? 0
                          : score < 9  ? 1
                          : score < 10 ? 2
                          : score < 11 ? 3
                          : score < 12 ? 4
                                       : 5;
        return linesTip(praise[index], true, QStringLiteral("sequence-praise-%1").arg(index));
    }
    return {};
}

QString Heading(ExerciseKind area)
{
    switch (area) {
    case ExerciseKind::Wort:
        return QStringLiteral("Tagestipp zur Wort-Fahndung");
    case ExerciseKind::Bild:
        return QStringLiteral("Tagestipp zur Bild-Fahndung");
    case ExerciseKind::Tel:
        return QStringLiteral("Tagestipp zur Telefonvermittlung");
    case ExerciseKind::Memo:
        return QStringLiteral("Tagestipp zum Memo-Protokoll");
    default:
        return QString();
    }
}

QString areaName(ExerciseKind area)
{
    switch (area) {
    case ExerciseKind::Wort:
        return QStringLiteral("Wort-Fahndung");
    case ExerciseKind::Bild:
        return QStringLiteral("Bild-Fahndung");
    case ExerciseKind::Tel:
        return QStringLiteral("Telefonvermittlung");
    case ExerciseKind::Memo:
        return QStringLiteral("Memo-Protokoll");
    default:
        return QStringLiteral("--");
    }
}

QString TipText(const QString& line, const QString& name)
{
    QString out = line;
    out.replace(u'#', name);
    return out;
}

} // namespace gf::tips

#include "core/data/Records.h"
#include "core/results/TipRules.h"

#include <QtTest>

using namespace gf;
using tips::Tip;

namespace gf::test {

class TstTipRules : public QObject
{
    Q_OBJECT

private slots:
    void searchThresholds()
    {
        // Each praise band starts at its threshold; below 200 comes advice by tip number.
        const QPair<double, QString> cases[] = {
            {380, "search-praise-0"}, {379.9, "search-praise-1"}, {350, "search-praise-1"},
            {300, "search-praise-2"}, {250, "search-praise-3"},   {200, "search-praise-4"},
            {199.9, "word-advice-3"},
        };
        for (const auto& [score, key] : cases) {
            const Tip t = tips::chooseTip(ExerciseKind::Wort, score, 3);
            QCOMPARE(t.kind, Tip::Lines);
            QCOMPARE(t.key, key);
        }
        // pictures open with one extra empty line, words do not
        QCOMPARE(tips::chooseTip(ExerciseKind::Wort, 199.9, 3).paragraphs.mid(0, 2).first(), QString());
        QVERIFY(!tips::chooseTip(ExerciseKind::Wort, 199.9, 3).paragraphs.at(1).isEmpty());
        QCOMPARE(tips::chooseTip(ExerciseKind::Bild, 199.9, 3).paragraphs.mid(0, 3),
                 QStringList({"", "", "Haben Sie schon versucht, die Bilder "}));
        QCOMPARE(tips::chooseTip(ExerciseKind::Wort, tips::NoScore, 3).kind, Tip::None);
        // tip numbers outside the advice table fall back to its ends
        QCOMPARE(tips::chooseTip(ExerciseKind::Wort, 0, 0).key, QString("word-advice-1"));
        QCOMPARE(tips::chooseTip(ExerciseKind::Bild, 0, 99).key, QString("picture-advice-7"));
    }

    void sequenceThresholds()
    {
        QCOMPARE(tips::chooseTip(ExerciseKind::Tel, tips::NoScore, 4).kind, Tip::None);
        const Tip page = tips::chooseTip(ExerciseKind::Memo, 4.9, 8);
        QCOMPARE(page.kind, Tip::Page);
        QCOMPARE(page.page, 8);
        const Tip praise = tips::chooseTip(ExerciseKind::Tel, 5, 1);
        QCOMPARE(praise.key, QString("sequence-praise-0"));
        QCOMPARE(tips::TipText(praise.paragraphs.at(2), "Falke"),
                 QString("Hallo Detektiv Falke, Sie leisten eine gute Arbeit!"));
        const QPair<double, QString> cases[] = {
            {7.9, "sequence-praise-0"},  {8, "sequence-praise-1"}, {9, "sequence-praise-2"},
            {10, "sequence-praise-3"},   {11.9, "sequence-praise-4"}, {12, "sequence-praise-5"},
        };
        for (const auto& [score, key] : cases)
            QCOMPARE(tips::chooseTip(ExerciseKind::Memo, score, 1).key, key);
    }
};

} // namespace gf::test

QTEST_GUILESS_MAIN(gf::test::TstTipRules)
#include "tst_tiprules.moc"

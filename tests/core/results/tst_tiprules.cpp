#include "core/data/Records.h"
#include "core/results/TipRules.h"

#include <QtTest>

using namespace gf;
using tips::Tip;

class TstTipRules : public QObject
{
    Q_OBJECT

private slots:
    void searchThresholds()
    {
        const QPair<double, QString> cases[] = {
            {380, "Hiermit verabschieden wir uns von unserem besten Mitarbeiter."},
            {379.9, "Wenn Sie in allen Bereichen derart gute Leistungen erbringen,"},
            {300, "Das läuft ja prima! Mit Ihnen erzielen wir"},
            {250, "Sie sind auf der richtigen Spur."},
            {200, "Ihre Erfolge sind sichtbar!"},
        };
        for (const auto& [score, line] : cases) {
            const Tip t = tips::ChooseTip(tips::Wort, score, 3);
            QCOMPARE(t.kind, Tip::Lines);
            QVERIFY2(t.paragraphs.contains(line), qPrintable(QString::number(score)));
        }
        // just below 200: advice; pictures open with one extra empty line, words do not
        QCOMPARE(tips::ChooseTip(tips::Wort, 199.9, 3).paragraphs.mid(0, 2),
                 QStringList({"", "Lesen Sie die Worte doch mal laut mit. "}));
        QCOMPARE(tips::ChooseTip(tips::Bild, 199.9, 3).paragraphs.mid(0, 3),
                 QStringList({"", "", "Haben Sie schon versucht, die Bilder "}));
        QCOMPARE(tips::ChooseTip(tips::Wort, tips::NoScore, 3).kind, Tip::None);
        // tip numbers outside the advice table fall back safely
        QCOMPARE(tips::ChooseTip(tips::Wort, 0, 0).paragraphs,
                 tips::ChooseTip(tips::Wort, 0, 1).paragraphs);
        QCOMPARE(tips::ChooseTip(tips::Bild, 0, 99).paragraphs,
                 tips::ChooseTip(tips::Bild, 0, 7).paragraphs);
    }

    void sequenceThresholds()
    {
        QCOMPARE(tips::ChooseTip(tips::Tel, tips::NoScore, 4).kind, Tip::None);
        const Tip page = tips::ChooseTip(tips::Memo, 4.9, 8);
        QCOMPARE(page.kind, Tip::Page);
        QCOMPARE(page.page, 8);
        const Tip praise = tips::ChooseTip(tips::Tel, 5, 1);
        QCOMPARE(praise.paragraphs,
                 QStringList({"", "", "Hallo Detektiv #, Sie leisten eine gute Arbeit!", "",
                              "Gratulation, so arbeitet nur ein echter Detektiv!", "",
                              "Wie wär´s einmal mit einer anderen Aufgabe? "}));
        QCOMPARE(tips::TipText(praise.paragraphs.at(2), "Falke"),
                 QString("Hallo Detektiv Falke, Sie leisten eine gute Arbeit!"));
        const QPair<double, QString> cases[] = {
            {7.9, "Gratulation, so arbeitet nur ein echter Detektiv!"},
            {8, "Sie sind ein begabter Detektiv!"},
            {9, "geniales Ergebnis!"},
            {10, "Sie sind zu gut für diesen Programmteil!"},
            {11.9, "`Wetten-Dass?´ trainieren wollen, dann wenden "},
        };
        for (const auto& [score, line] : cases)
            QVERIFY2(tips::ChooseTip(tips::Tel, score, 1).paragraphs.contains(line),
                     qPrintable(QString::number(score)));
    }
};

QTEST_GUILESS_MAIN(TstTipRules)
#include "tst_tiprules.moc"

#include "data/Records.h"
#include "results/TipRules.h"

#include <QtTest>

using namespace gf;
using tips::Tip;

class TstTipRules : public QObject
{
    Q_OBJECT

    static QStringList nonEmpty(const Tip& t)
    {
        QStringList out;
        for (const QString& p : t.paragraphs)
            if (!p.isEmpty())
                out << p;
        return out;
    }

private slots:
    void searchThresholds()
    {
        struct Case
        {
            double score;
            QString firstLine;
        };
        const Case cases[] = {
            {400, "Hiermit verabschieden wir uns von unserem besten Mitarbeiter."},
            {380, "Hiermit verabschieden wir uns von unserem besten Mitarbeiter."},
            {379.9, "Wenn Sie in allen Bereichen derart gute Leistungen erbringen,"},
            {350, "Wenn Sie in allen Bereichen derart gute Leistungen erbringen,"},
            {300, "Das läuft ja prima! Mit Ihnen erzielen wir"},
            {250, "Sie sind auf der richtigen Spur."},
            {200, "Ihre Erfolge sind sichtbar!"},
        };
        for (const Case& c : cases) {
            const Tip t = tips::ChooseTip(tips::Wort, c.score, 3);
            QCOMPARE(t.kind, Tip::Lines);
            QVERIFY2(t.paragraphs.contains(c.firstLine), qPrintable(QString::number(c.score)));
        }
        const Tip advice = tips::ChooseTip(tips::Wort, 199.9, 3);
        QCOMPARE(nonEmpty(advice).first(), QString("Lesen Sie die Worte doch mal laut mit. "));
        const Tip picture = tips::ChooseTip(tips::Bild, 199.9, 3);
        QCOMPARE(nonEmpty(picture).first(), QString("Haben Sie schon versucht, die Bilder "));
        QCOMPARE(tips::ChooseTip(tips::Wort, tips::NoScore, 3).kind, Tip::None);
    }

    void paragraphLayout()
    {
        // praise and picture advice open with one extra empty line, word advice does not
        const Tip praise = tips::ChooseTip(tips::Tel, 5, 1);
        QCOMPARE(praise.paragraphs,
                 QStringList({"", "", "Hallo Detektiv #, Sie leisten eine gute Arbeit!", "",
                              "Gratulation, so arbeitet nur ein echter Detektiv!", "",
                              "Wie wär´s einmal mit einer anderen Aufgabe? "}));
        const Tip word = tips::ChooseTip(tips::Wort, 0, 7);
        QCOMPARE(word.paragraphs.size(), 10);
        QCOMPARE(word.paragraphs.at(1),
                 QString("Sie sehen, auch ein Detektiv ist nur ein Mensch."));
        QCOMPARE(word.paragraphs.last(), QString("Und wie steht`s mit Ihnen?"));
        const Tip picture = tips::ChooseTip(tips::Bild, 0, 7);
        QCOMPARE(picture.paragraphs.size(), 11);
        QCOMPARE(picture.paragraphs.at(2),
                 QString("Sie sehen , auch ein Detektiv ist nur ein Mensch."));
        QCOMPARE(tips::TipText(praise.paragraphs.at(2), "Falke"),
                 QString("Hallo Detektiv Falke, Sie leisten eine gute Arbeit!"));
    }

    void sequenceThresholds()
    {
        QCOMPARE(tips::ChooseTip(tips::Tel, tips::NoScore, 4).kind, Tip::None);
        const Tip page = tips::ChooseTip(tips::Memo, 4, 8);
        QCOMPARE(page.kind, Tip::Page);
        QCOMPARE(page.page, 8);
        const QPair<double, QString> cases[] = {
            {7.9, "Gratulation, so arbeitet nur ein echter Detektiv!"},
            {8, "Sie sind ein begabter Detektiv!"},
            {9, "geniales Ergebnis!"},
            {10, "Sie sind zu gut für diesen Programmteil!"},
            {11.5, "`Wetten-Dass?´ trainieren wollen, dann wenden "},
            {12, "Sie sind einfach zu gut!"},
            {15, "Sie sind einfach zu gut!"},
        };
        for (const auto& [score, line] : cases)
            QVERIFY2(tips::ChooseTip(tips::Tel, score, 1).paragraphs.contains(line),
                     qPrintable(QString::number(score)));
    }

    void scoresFromRecords()
    {
        tWortKatStat r;
        r.AskedPerLevel[2] = 6;
        r.AskedPerLevel[3] = 3;
        r.CorrectPerLevel[2] = 3;
        r.CorrectPerLevel[3] = 3;
        QCOMPARE(tips::SearchScore(r), 150.0);
        QList<tWortKatStat> list;
        QCOMPARE(tips::LastSearchScore(list), tips::NoScore);
        list << tWortKatStat{} << r;
        QCOMPARE(tips::LastSearchScore(list), 150.0);
        QList<tTeleStat> tel;
        QCOMPARE(tips::LastBestSpan(tel), tips::NoScore);
        tTeleStat t;
        t.BestSpan = NoValue;
        tel << t;
        QCOMPARE(tips::ChooseTip(tips::Tel, tips::LastBestSpan(tel), 2).kind, Tip::None);
    }

    void advicePastItsTableIsSafe()
    {
        QCOMPARE(tips::ChooseTip(tips::Wort, 0, 0).paragraphs,
                 tips::ChooseTip(tips::Wort, 0, 1).paragraphs);
        QCOMPARE(tips::ChooseTip(tips::Bild, 0, 99).paragraphs,
                 tips::ChooseTip(tips::Bild, 0, 7).paragraphs);
        QCOMPARE(tips::AreaName(5), QString("--"));
    }
};

QTEST_GUILESS_MAIN(TstTipRules)
#include "tst_tiprules.moc"

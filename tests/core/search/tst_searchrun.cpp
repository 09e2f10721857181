#include "support/DataSupport.h"
#include "support/ManualStepClock.h"

#include "core/data/Random.h"
#include "core/search/ItemTables.h"
#include "core/search/SearchRules.h"
#include "core/search/tSearchRun.h"

#include <QtTest>

using namespace gf;
using namespace gf::search;
using namespace std::chrono_literals;
using Kind = tSearchRun::Kind;
using Events = QList<std::pair<qint64, QString>>; // ms since the start, what happened

namespace gf::test {

namespace {
// Categories "Kat<c>" with the article "das", items "w<r>_<c>".
std::shared_ptr<tConfig> makeTable(int rows, int cols)
{
    auto t = std::make_shared<tConfig>();
    t->RowCount = quint16(rows);
    t->ColCount = quint16(cols);
    for (int c = 2; c <= cols; ++c) {
        t->Cells[1][c].Text = QStringLiteral("Kat%1").arg(c);
        t->Cells[2][c].Text = QStringLiteral("das");
        for (int r = 3; r <= rows; ++r)
            t->Cells[r][c].Text = QStringLiteral("w%1_%2").arg(r).arg(c);
    }
    return t;
}
} // namespace

class TstSearchRun : public QObject
{
    Q_OBJECT

    test::ManualStepClock clock;
    test::RecordingSink sink;

    // Runs the task up to its question and answers it.
    void play(tSearchRun& run, bool right)
    {
        run.startPass();
        clock.advance(40s);
        QCOMPARE(run.phase(), tSearchRun::Phase::Asking);
        const tQuery& q = run.query();
        const tVerdict v = run.Answer(right ? q.Sought : (q.Sought + 1) % 4);
        QCOMPARE(v.Verdict, right ? QStringLiteral("Korrekt") : QStringLiteral("Leider falsch!"));
        QCOMPARE(v.Correction, right ? QString() : QStringLiteral("Gesucht wurde:"));
    }

private slots:
    void taskListIsBalanced()
    {
        for (int cols : {4, 5}) {
            const auto table = makeTable(6, cols);
            const int k = cols - 1;
            for (int n : {8, 16, 32}) {
                int minShow = 99, maxShow = 0;
                for (quint32 seed = 1; seed <= 40; ++seed) {
                    Random random(seed);
                    const QList<tSampleCfg> list = buildTaskList(*table, n, random);
                    QCOMPARE(list.size(), n);
                    QList<int> levels(5), columns(cols + 1);
                    for (int i = 0; i < n; ++i) {
                        const tSampleCfg& t = list[i];
                        ++levels[t.Level];
                        const int col = FindColumn(*table, t.Text);
                        ++columns[col];
                        minShow = std::min<int>(minShow, t.ShowCount);
                        maxShow = std::max<int>(maxShow, t.ShowCount);
                        // Sought twice already, or just before, only when no other is left.
                        auto usable = [&](const QString& w) {
                            return CountTasks(list.mid(0, i), w) < 2 &&
                                   (!i || w != list[i - 1].Text);
                        };
                        if (!usable(t.Text))
                            for (int r = 3; r <= 6; ++r)
                                QVERIFY(!usable(table->Cells[r][col].Text));
                    }
                    for (int level = 1; level <= 4; ++level)
                        QCOMPARE(levels[level], n / 4);
                    // Dealt round and round: the first N mod K categories get one more.
                    for (int c = 2; c <= cols; ++c)
                        QCOMPARE(columns[c], n / k + (c - 1 <= n % k ? 1 : 0));
                }
                QCOMPARE(minShow, 4);
                QCOMPARE(maxShow, 10);
            }
        }
        Random random(3); // with one word to choose from, the last draw stands
        for (const tSampleCfg& t : buildTaskList(*makeTable(3, 2), 4, random))
            QCOMPARE(t.Text, QStringLiteral("w3_2"));
    }

    void sequencesHideTheTargetFromItsCategory()
    {
        const auto table = makeTable(6, 5);
        int perLevel[5] = {};
        for (quint32 seed = 1; seed <= 60; ++seed) {
            Random random(seed);
            for (const tSampleCfg& task : buildTaskList(*table, 32, random)) {
                const auto p = prepareTask(*table, task, random, &sink);
                QCOMPARE(p->Level, int(task.Level));
                const QList<tItemPos>& seq = p->Sequence;
                QCOMPARE(seq.size(), int(task.ShowCount));
                const tItemPos target = *findItem(*table, task.Text);
                const int at = int(seq.size()) - p->Level;
                QCOMPARE(seq[at], target);
                QCOMPARE(seq.count(target), 1); // a stand-in took its place in the pool
                for (int i = at + 1; i < seq.size(); ++i)
                    QVERIFY(seq[i].Col != target.Col);
                ++perLevel[p->Level];
            }
        }
        QVERIFY(perLevel[3] > 100 && perLevel[1] > 100);

        // One category only: no order can work, so the task asks for the last item.
        Random random(5);
        const auto p = prepareTask(*makeTable(10, 2), {"w5_2", 3, 6}, random, &sink);
        QCOMPARE(p->Level, 1);
        QCOMPARE(p->Retry, MaxRetries + 1);
        QCOMPARE(p->Sequence[5], (tItemPos{5, 2}));
        QCOMPARE(p->Sequence[3], (tItemPos{5, 2}));
        QVERIFY(!prepareTask(*table, {"Fehlt", 2, 6}, random, &sink));
        QCOMPARE(sink.last(), QStringLiteral("Nicht gefunden: Fehlt"));
    }

    void runScoresIntoTheRecord()
    {
        const auto table = makeTable(6, 5);
        Random random(11);
        tSearchRun run(Kind::Word, random, clock, &sink);
        QVERIFY(!run.Start(nullptr, 8, 1500ms));
        QVERIFY(run.Start(table, 8, 1500ms));
        play(run, true);
        QCOMPARE(
            run.query().Question,
            QStringLiteral("Welches war das letzte Kat%1?").arg(FindColumn(*table, run.target())));
        run.Answer((run.query().Sought + 1) % 4); // a second click changes nothing
        QVERIFY(run.verdict().Correct);
        // An answer one past the options is no answer, even where the slot behind the
        // list still holds the sought word.
        tQuery past = run.query();
        past.Options.reserve(past.Options.size() + 4);
        past.Options.append(past.Target);
        past.Options.removeLast();
        QVERIFY(!judge(past, int(past.Options.size())).Correct);
        int played = 1;
        while (run.nextTask() && !run.finished()) {
            play(run, true);
            ++played;
        }
        QCOMPARE(played, 8);
        QCOMPARE(run.status(), QStringLiteral("Aufgabe 8 von 8"));
        tWortKatStat stat;
        QVERIFY(run.SumLevels(stat));
        for (int k = 1; k <= 4; ++k)
            QVERIFY(stat.AskedPerLevel[k] == 2 && stat.CorrectPerLevel[k] == 2);

        // A second run over the same table counts from zero.
        QVERIFY(run.Start(table, 8, 1500ms));
        while (!run.finished()) {
            play(run, run.level() != 4);
            run.nextTask();
        }
        tBmpKatStat second;
        run.SumLevels(second);
        QVERIFY(second.AskedPerLevel[4] == 2 && second.CorrectPerLevel[4] == 0);
        QVERIFY(second.AskedPerLevel[1] == 2 && second.CorrectPerLevel[1] == 2);
    }

    void schedule()
    {
        for (Kind kind : {Kind::Word, Kind::Picture}) {
            const int shown = kind == Kind::Word ? 1800 : 3000;
            Random random(2);
            tSearchRun run(kind, random, clock, &sink);
            Events events, frames;
            SteadyTime start{};
            auto note = [&](Events& list, const QString& what) {
                list.append({(clock.now() - start) / 1ms, what});
            };
            connect(&run, &tSearchRun::itemShown, this, [&](int pos, const QString& text) {
                QCOMPARE(text, run.sequenceTexts()[pos - 1]);
                note(events, "show");
            });
            connect(&run, &tSearchRun::itemCleared, this, [&] { note(events, "clear"); });
            connect(&run, &tSearchRun::questionAsked, this, [&] { note(events, "ask"); });
            connect(&run, &tSearchRun::faxFrameChanged, this,
                    [&](int frame) { note(frames, QString::number(frame)); });

            QVERIFY(run.Start(makeTable(6, 5), 8, wordShowTime(1800)));
            start = clock.now();
            frames.clear();
            run.startPass();
            clock.advance(60s);
            Events expected{{0, "clear"}};
            const int n = run.showCount();
            for (int i = 0; i < n; ++i) {
                expected.append({1000 + i * (shown + 1000), "show"});
                expected.append({1000 + i * (shown + 1000) + shown, "clear"});
            }
            expected.append({n * (shown + 1000) + 1000, "ask"});
            QCOMPARE(events, expected);
            if (kind == Kind::Picture) {
                // Once per picture, ending on frame 1 after 1.5 s.
                QCOMPARE(frames.mid(0, 5),
                         (Events{{1000, "1"}, {1500, "2"}, {2000, "3"}, {2500, "1"}, {5000, "1"}}));
                QCOMPARE(frames.size(), 4 * n);
                QCOMPARE(run.status(), QStringLiteral("Durchgang 1 von 8"));
            }

            // Help during an item holds the clock: the item stays for the rest afterwards.
            QVERIFY(!run.nextTask()); // not before the answer
            run.Answer(0);
            QVERIFY(run.nextTask());
            events.clear();
            start = clock.now();
            run.startPass();
            clock.advance(1500ms);
            run.Pause();
            clock.advance(5s);
            run.resume();
            clock.advance(60s);
            QCOMPARE(events.mid(1, 2), (Events{{1000, "show"}, {6000 + shown, "clear"}}));
        }
        // A clock that fires late (here 7 ms each time) must not push the later items
        // back: every onset is timed from when the one before was due.
        {
            clock.lateness = 7ms;
            Random random(2);
            tSearchRun run(Kind::Word, random, clock, &sink);
            QList<qint64> onsets;
            SteadyTime start{};
            connect(&run, &tSearchRun::itemShown, this,
                    [&] { onsets << (clock.now() - start) / 1ms; });
            QVERIFY(run.Start(makeTable(6, 5), 8, 1500ms));
            start = clock.now();
            run.startPass();
            clock.advance(60s);
            clock.lateness = 0ms;
            QVERIFY(onsets.size() >= 4);
            for (int i = 0; i < onsets.size(); ++i)
                QCOMPARE(onsets[i], 1007 + i * 2500);
        }
        // A stored time is held to what a trainee can follow; none at all is the default.
        QCOMPARE(wordShowTime(0), DefaultWordShowTime);
        QCOMPARE(wordShowTime(-300), DefaultWordShowTime);
        QCOMPARE(wordShowTime(1), 300ms);
        QCOMPARE(wordShowTime(10001), 10000ms);
        QCOMPARE(wordShowTime(2147483647), 10000ms);
    }

    void chartsRoundHalfToEven()
    {
        QCOMPARE(chartPercent(2, 3), 66.7);
        QCOMPARE(chartPercent(1, 16), 6.2);  // 62.5 -> 62
        QCOMPARE(chartPercent(3, 16), 18.8); // 187.5 -> 188
        auto t = makeTable(6, 5);
        for (auto [item, right, level] : {std::tuple{"w3_2", true, 1},
                                          {"w4_2", false, 2},
                                          {"w3_4", true, 3},
                                          {"w5_4", true, 3},
                                          {"w6_4", false, 1}})
            QVERIFY(Score(*t, item, right, level, &sink));
        QVERIFY(!Score(*t, "w3_1", true, 1, &sink));
        QCOMPARE(sink.last(), QStringLiteral("w3_1 nicht gefunden"));
        const tChart levels = LevelChart(*t, cmWord);
        QCOMPARE(levels.Bars.size(), 3);
        QCOMPARE(levels.Bars[2].Caption, QStringLiteral("drittletztes"));
        QCOMPARE(levels.Bars[0].Value, 50.0);
        const tChart cats = categoryChart(*t, cmPicture);
        QCOMPARE(cats.Bars.size(), 2);
        QCOMPARE(cats.Bars[1].Caption, QStringLiteral("Kat4"));
        QCOMPARE(cats.Bars[1].Value, 66.7);
    }
};

} // namespace gf::test

QTEST_GUILESS_MAIN(gf::test::TstSearchRun)
#include "tst_searchrun.moc"

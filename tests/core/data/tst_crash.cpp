// Kills a saving program at random moments and checks what the next start finds: every
// record whose graph was shown, exactly once; summaries equal to the history they began
// with folded with every stored record once; no orphan log, no temporary file.
// GF_CRASH_KILLS sets the number of kills (the long run: 600).

#include "support/DataSupport.h"

#include "core/data/FileFormats.h"
#include "core/data/Journal.h"
#include "core/data/Session.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTest>

#include <cstdio>
#include <signal.h>

namespace gf::test {

namespace ff = fileformat;

namespace {

const QString Name = QStringLiteral("Anna");

// The record with a given number: its stamp's seconds carry the number, so each record
// is known again in the logs; the values vary so that a record folded twice shows.
QDateTime momentOf(int month, int id)
{
    return QDateTime(QDate(2004 + month / 12, month % 12 + 1, 1 + (id / 50) % 27), QTime(8, 0))
        .addSecs(id % 50 * 60 + id / 1350);
}

ExerciseKind kindOf(int id)
{
    return AllExerciseKinds[id % 4];
}

template <typename Stat> Stat seqRecord(int id, int month, int span, int level)
{
    auto r = seqStat<Stat>(1 + id % 3, span, level, {{2, 1}, {2, 2}});
    r.Stamp = SerialDate::fromDateTime(momentOf(month, id));
    r.TaskCount = quint16(id);
    return r;
}
tWortKatStat katRecord(int id, int month)
{
    tWortKatStat r;
    r.Stamp = SerialDate::fromDateTime(momentOf(month, id));
    r.Kind = quint16(id);
    for (int l = 1; l <= 4; ++l) {
        r.AskedPerLevel[l] = quint16(1 + (id + l) % 4);
        r.CorrectPerLevel[l] = quint16((id * l) % (r.AskedPerLevel[l] + 1));
    }
    return r;
}

int stepsLeft = 0;
void dieAtStep(const char*, const QByteArray&)
{
    if (--stepsLeft == 0)
        ::raise(SIGKILL);
}

// The child: sessions of three exercises each, until it is killed. Prints the number of
// every record whose graph would now be shown. With dieAt, it kills itself at that
// step of making data durable.
int runChild(const QString& dir, int firstId, int month, int dieAt)
{
    if (dieAt > 0) {
        stepsLeft = dieAt;
        files::setTraceHook(&dieAtStep);
    }
    FixedClock clock(momentOf(month, firstId));
    int id = firstId;
    std::printf("start\n");
    std::fflush(stdout);
    // Numbers must fit the 16-bit field that carries them.
    while (id + 3 < firstId + 100) {
        tProgramData d(nullptr, &clock);
        d.setDataDir(dir);
        d.UserName = Name;
        clock.moment = momentOf(month, id);
        d.SessionStart = clock.moment;
        if (!d.openUser())
            return 3;
        d.createSessionLists();
        tSession session(d, false);
        for (int n = 0; n < 3; ++n, ++id) {
            clock.moment = momentOf(month, id);
            tSession::Outcome o;
            switch (kindOf(id)) {
            case ExerciseKind::Tel:
                o = session.finish(seqRecord<tTeleStat>(id, month, 3 + id % 7, 3));
                break;
            case ExerciseKind::Memo:
                o = session.finish(seqRecord<tBmpSndStat>(id, month, 1 + id % 5, 1));
                break;
            case ExerciseKind::Wort:
                o = session.finishWord(katRecord(id, month));
                break;
            default: {
                tBmpKatStat b;
                static_cast<tWortKatStat&>(b) = katRecord(id, month);
                o = session.finishPicture(b);
                break;
            }
            }
            if (o != tSession::Outcome::Saved)
                return 4;
            std::printf("%d\n", id);
            std::fflush(stdout);
        }
    }
    return 0;
}

} // namespace

class TstCrash : public QObject
{
    Q_OBJECT

    DataFolder f;

    // What the summary files hold, as journal-free values.
    bool readSummaries(const tUser& u, ff::SeqSummary& tel, ff::SeqSummary& memo,
                       ff::KatSummary& wort, ff::KatSummary& bild)
    {
        const auto bytes = [](const QString& path) {
            QFile file(path);
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        };
        return ff::readSeqSummary(bytes(u.TelSumFile), tel) &&
               ff::readSeqSummary(bytes(u.MemoSumFile), memo) &&
               ff::readKatSummary(bytes(u.WortSumFile), wort) &&
               ff::readKatSummary(bytes(u.BildSumFile), bild);
    }

    template <typename Summary, typename Record>
    static Summary folded(Summary s, const QList<Record>& records)
    {
        for (const Record& r : records)
            foldRecord(s, r);
        return s;
    }

    static bool near(double a, double b)
    {
        return std::abs(a - b) <= 1e-9 * std::max(1.0, std::abs(a));
    }
    static bool same(const ff::SeqSummary& a, const ff::SeqSummary& b)
    {
        for (int m = 1; m <= 3; ++m)
            if (a.Best[m] != b.Best[m] || !near(a.Avg[m], b.Avg[m]) || a.Count[m] != b.Count[m])
                return false;
        return true;
    }
    static bool same(const ff::KatSummary& a, const ff::KatSummary& b)
    {
        for (int l = 1; l <= 4; ++l)
            if (!near(a.Avg[l], b.Avg[l]) || a.Count[l] != b.Count[l])
                return false;
        return true;
    }

    // The next start: every shown record there once, the summaries exact, nothing left
    // half-done.
    void checkNextStart(const QSet<int>& shown, const ff::SeqSummary& telBase,
                        const ff::KatSummary& wortBase, int& checked)
    {
        auto d = f.fresh();
        d->UserName = Name;
        QVERIFY(d->openUser());
        const tUser& u = *d->CurrentUser;
        const WalkedRecords stored = storedRecords(u);
        QVERIFY2(stored.Damaged.isEmpty(), qPrintable(stored.Damaged.value(0).reason));
        // The number sits in the task count, or in the kind field of a search record.
        QList<int> found;
        for (const auto& r : stored.Tel)
            found << r.TaskCount;
        for (const auto& r : stored.Memo)
            found << r.TaskCount;
        for (const auto& r : stored.Wort)
            found << r.Kind;
        for (const auto& r : stored.Bild)
            found << r.Kind;
        QVERIFY2(QSet<int>(found.begin(), found.end()).size() == found.size(),
                 "a record stored twice");
        for (int id : shown) {
            QVERIFY2(found.contains(id), qPrintable(QString("shown record %1 lost").arg(id)));
            ++checked;
        }

        ff::SeqSummary tel, memo;
        ff::KatSummary wort, bild;
        QVERIFY(readSummaries(u, tel, memo, wort, bild));
        QVERIFY(same(tel, folded(telBase, stored.Tel)));
        QVERIFY(same(memo, folded(emptySeqSummary(), stored.Memo)));
        QVERIFY(same(wort, folded(wortBase, stored.Wort)));
        QVERIFY(same(bild, folded(emptyKatSummary(), stored.Bild)));

        // Every log of the detective is listed; nothing half-written stays.
        QStringList listed;
        for (ExerciseKind kind : AllExerciseKinds) {
            listed << files::lastComponent(u.sumFile(kind));
            for (const QString& log : u.Files(kind))
                listed << files::lastComponent(log);
        }
        for (const QString& file : files::entries(f.tmp.path())) {
            QVERIFY2(!file.startsWith(".gf-"), qPrintable(file));
            if (file.endsWith(".dat"))
                QVERIFY2(listed.contains(file), qPrintable("orphan " + file));
        }
    }

    // One child run, killed after delayMs or at its step dieAt; collects what it showed.
    void runAndKill(int firstId, int month, int dieAt, int delayMs, QSet<int>& shown)
    {
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(),
                    {"--child", f.tmp.path(), QString::number(firstId), QString::number(month),
                     QString::number(dieAt)});
        QVERIFY(child.waitForStarted());
        if (dieAt == 0) {
            QVERIFY(child.waitForReadyRead(20000));
            QTest::qSleep(delayMs);
            ::kill(pid_t(child.processId()), SIGKILL);
        }
        QVERIFY(child.waitForFinished(20000));
        // A child that ran through all its numbers before the kill ends with 0.
        QVERIFY2(child.exitStatus() == QProcess::CrashExit || child.exitCode() == 0,
                 qPrintable("child failed: " + QString::number(child.exitCode())));
        for (const QByteArray& line : child.readAllStandardOutput().split('\n'))
            if (!line.isEmpty() && line != "start")
                shown.insert(line.toInt());
    }

private slots:
    void killedSavesLoseNothingAndCountNothingTwice()
    {
        f.reset();
        auto reg = f.registered(Name);
        QVERIFY(reg);
        // History brought from another computer: the summaries start with values, and
        // no log holds their records.
        ff::SeqSummary telBase = emptySeqSummary();
        telBase.Best[1] = 8;
        telBase.Avg[1] = 5.5;
        telBase.Count[1] = 10;
        ff::KatSummary wortBase = emptyKatSummary();
        wortBase.Avg[2] = 40;
        wortBase.Count[2] = 3;
        QVERIFY(files::replace(reg->CurrentUser->TelSumFile, ff::writeSeqSummary({}, telBase),
                               nullptr));
        QVERIFY(files::replace(reg->CurrentUser->WortSumFile, ff::writeKatSummary({}, wortBase),
                               nullptr));
        QVERIFY(files::remove(f.path(Name + ".gfj"), nullptr));
        reg.reset();

        const int kills = qEnvironmentVariableIntValue("GF_CRASH_KILLS") > 0
                              ? qEnvironmentVariableIntValue("GF_CRASH_KILLS")
                              : 50;
        QRandomGenerator rng(20261207);
        QSet<int> shown;
        int checked = 0;
        for (int k = 0; k < kills; ++k) {
            // Three runs per month: the first of each month starts new logs.
            const int month = k / 3;
            // Saves take a few milliseconds each: kills land before, inside and between
            // them. The first runs die at each step of the first saves in turn.
            const bool stepwise = k < 40;
            runAndKill(k * 100 + 1, month, stepwise ? k + 1 : 0, int(rng.bounded(0, 120)), shown);
            if (QTest::currentTestFailed())
                return;
            checkNextStart(shown, telBase, wortBase, checked);
            if (QTest::currentTestFailed())
                return;
        }
        std::printf("crash harness: %d kills, %lld records shown, %d checks of a shown record, "
                    "0 lost, none twice\n",
                    kills, qlonglong(shown.size()), checked);
    }
};

} // namespace gf::test

int main(int argc, char** argv)
{
    if (argc == 6 && qstrcmp(argv[1], "--child") == 0)
        return gf::test::runChild(QString::fromLocal8Bit(argv[2]), atoi(argv[3]), atoi(argv[4]),
                                  atoi(argv[5]));
    QCoreApplication app(argc, argv);
    gf::test::TstCrash t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_crash.moc"

// The guarantees around a stored record: flushed in the right order, never written from
// a stale copy, never under a colliding name, never silently dropped, one program per
// detective, and "heute" meaning today.

#include "support/DataSupport.h"

#include "core/data/Journal.h"
#include "core/data/Session.h"
#include "core/results/DailyResults.h"

#include <QCoreApplication>
#include <QLockFile>
#include <QTest>

#include <cstdio>
#include <signal.h>
#include <unistd.h>

namespace gf::test {

namespace {

QList<QPair<QByteArray, QByteArray>> traced;
void record(const char* step, const QByteArray& name)
{
    traced.append({step, name.mid(name.lastIndexOf('/') + 1)});
}

tWortKatStat word(const QDateTime& when, int right)
{
    tWortKatStat r;
    r.Stamp = SerialDate::fromDateTime(when);
    r.AskedPerLevel.v = {4, 0, 0, 0};
    r.CorrectPerLevel.v = {quint16(right), 0, 0, 0};
    return r;
}

// A second program: marks the detective as logged in and waits to be killed.
int holdLogin(const QString& dir, const QString& name)
{
    tProgramData d;
    d.setDataDir(dir);
    if (d.lockLogin(name) != tProgramData::LoginOutcome::Taken)
        return 2;
    d.commitLogin();
    std::printf("held\n");
    std::fflush(stdout);
    ::sleep(60);
    return 0;
}

} // namespace

class TstDurability : public QObject
{
    Q_OBJECT

    DataFolder f;

private slots:
    void init() { f.reset(); }

    void saveReachesTheDiskInOrder()
    {
        auto d = f.registered();
        QVERIFY(d);
        traced.clear();
        files::setTraceHook(&record);
        const auto outcome = tSession(*d, false).finishWord(word(f.clock.moment, 3));
        files::setTraceHook(nullptr);
        QCOMPARE(outcome, tProgramData::SaveOutcome::Saved);

        const auto at = [](const char* step, const QByteArray& name) {
            for (qsizetype i = 0; i < traced.size(); ++i)
                if (traced[i].first == step && traced[i].second == name)
                    return i;
            return qsizetype(-1);
        };
        const auto lastAt = [](const char* step, const QByteArray& name) {
            for (qsizetype i = traced.size() - 1; i >= 0; --i)
                if (traced[i].first == step && traced[i].second == name)
                    return i;
            return qsizetype(-1);
        };
        // The journal announces the new log, the log is written and flushed with its
        // folder, the user file lists it, the journal folds it, the summary follows.
        const qsizetype announced = at("rename", "Anna.gfj");
        const qsizetype created = at("create", "AnnaWS_04_03.dat");
        const qsizetype logSynced = at("fsync", "AnnaWS_04_03.dat");
        const qsizetype listed = at("rename", "Anna.mnu");
        const qsizetype folded = lastAt("rename", "Anna.gfj");
        QVERIFY(announced >= 0 && announced < created);
        QVERIFY(created < logSynced && logSynced < listed);
        QVERIFY(traced[logSynced + 1].first == "fsyncdir");
        QVERIFY(listed < folded && folded < at("rename", "AnnaWS.dat"));
        // Every replaced file: its temporary copy flushed before the rename, the folder
        // flushed after it.
        int renames = 0;
        for (qsizetype i = 0; i < traced.size(); ++i) {
            if (traced[i].first != "rename")
                continue;
            ++renames;
            QVERIFY(i >= 1 && traced[i - 1].first == "fsync" &&
                    traced[i - 1].second.startsWith(".gf-"));
            QVERIFY(i + 1 < traced.size() && traced[i + 1].first == "fsyncdir");
        }
        QCOMPARE(renames, 4); // journal twice, user file, word summary
    }

    void aNewLogNeverTakesAnotherFilesName()
    {
        // A summary that got the month's name at registration, and a file that
        // another detective lists, are both passed over.
        QVERIFY(f.write("AnnaTS.dat", "x"));
        auto d = f.registered();
        QVERIFY(d);
        QCOMPARE(d->CurrentUser->TelSumFile, f.path("AnnaTS_04_03.dat"));
        QCOMPARE(tSession(*d, false).finish(seqStat<tTeleStat>(1, 5, 5)),
                 tProgramData::SaveOutcome::Saved);
        QCOMPARE(d->CurrentUser->TelFiles, QStringList{f.path("AnnaTS_04_03_2.dat")});
        QCOMPARE(f.read("AnnaTS.dat"), QByteArray("x"));
    }

    void aTornRecordIsCutAtTheNextStart()
    {
        // A power cut inside a write leaves part of a record at the log's end.
        auto d = f.registered();
        QVERIFY(d);
        QCOMPARE(tSession(*d, false).finishWord(word(f.clock.moment, 2)),
                 tProgramData::SaveOutcome::Saved);
        const QString log = d->CurrentUser->WortFiles.value(0);
        QFile file(log);
        QVERIFY(file.open(QIODevice::Append));
        QVERIFY(file.write(QByteArray(10, 'x')) == 10);
        file.close();
        auto next = f.fresh();
        next->UserName = "Anna";
        QVERIFY(next->openUser());
        QCOMPARE(QFileInfo(log).size(), 26);
        const WalkedRecords stored = storedRecords(*next->CurrentUser);
        QVERIFY(stored.Damaged.isEmpty());
        QCOMPARE(stored.Wort.size(), 1);
    }

    void deletedDetectiveIsNotBroughtBack()
    {
        auto d = f.registered();
        QVERIFY(d);
        QCOMPARE(tSession(*d, false).finishWord(word(f.clock.moment, 2)),
                 tProgramData::SaveOutcome::Saved);
        auto tool = f.fresh();
        QVERIFY(tool->deleteUser("Anna"));
        QCOMPARE(tSession(*d, false).finishWord(word(f.clock.moment, 4)),
                 tProgramData::SaveOutcome::Gone);
        QVERIFY(d->saveFailureText().contains("gelöscht"));
        QCOMPARE(f.files(), QStringList{});
    }

    void twoProgramsOnOneDetectiveKeepEveryRecord()
    {
        auto a = f.registered();
        QVERIFY(a);
        auto b = f.fresh();
        b->UserName = "Anna";
        QVERIFY(b->openUser());
        b->createSessionLists();
        for (int i = 0; i < 5; ++i) {
            tProgramData& d = i % 2 ? *b : *a;
            QCOMPARE(tSession(d, false).finishWord(word(f.clock.moment, i % 5)),
                     tProgramData::SaveOutcome::Saved);
        }
        auto c = f.fresh();
        c->UserName = "Anna";
        QVERIFY(c->openUser());
        QCOMPARE(storedRecords(*c->CurrentUser).Wort.size(), 5);
        QCOMPARE(c->WortCount[1], 5.0);
        QCOMPARE(c->WortAvg[1], (0 + 25 + 50 + 75 + 100) / 5.0);
    }

    void aSaveThatCannotBeDoneSaysSoAndKeepsTheRecord()
    {
        auto d = f.registered();
        QVERIFY(d);
        {
            QLockFile other(FolderLock::lockFileName(d->DataDir));
            other.setStaleLockTime(std::chrono::hours(1));
            QVERIFY(other.tryLock());
            // Waiting for the lock takes its time; the data folder's lock waits 10 s.
            QCOMPARE(tSession(*d, false).finishWord(word(f.clock.moment, 1)),
                     tProgramData::SaveOutcome::Failed);
            QVERIFY(d->saveFailureText().contains("anderen Grips-Fix-Programm"));
        }
        {
            FileSizeLimit limit(0);
            QCOMPARE(d->storeSession(), tProgramData::SaveOutcome::Failed);
            QVERIFY(d->saveFailureText().contains("voll"));
        }
        // Tried again: stored once.
        QCOMPARE(d->storeSession(), tProgramData::SaveOutcome::Saved);
        QCOMPARE(d->storeSession(), tProgramData::SaveOutcome::Saved);
        QCOMPARE(storedRecords(*d->CurrentUser).Wort.size(), 1);
        QCOMPARE(d->WortCount[1], 1.0);
    }

    void oneDetectiveOneProgram()
    {
        auto d = f.registered();
        QVERIFY(d);
        QProcess other;
        other.start(QCoreApplication::applicationFilePath(), {"--hold", f.tmp.path(), "Anna"});
        QVERIFY(other.waitForReadyRead(10000));
        QCOMPARE(other.readLine().trimmed(), QByteArray("held"));
        QCOMPARE(d->lockLogin("Anna"), tProgramData::LoginOutcome::Held);
        QCOMPARE(d->loginMessage(),
                 QStringLiteral("Der Detektiv Anna ist gerade an einem anderen Platz angemeldet."));
        ::kill(pid_t(other.processId()), SIGKILL);
        QVERIFY(other.waitForFinished());
        // Its process is gone: the mark is stale.
        QCOMPARE(d->lockLogin("Anna"), tProgramData::LoginOutcome::Taken);
        d->commitLogin();
        QVERIFY(d->refreshLogin());

        // A mark from another computer counts while it is refreshed.
        d->releaseLogin();
        const QString mark = f.path("Anna.gfl");
        QVERIFY(f.write("Anna.gfl", "gripsfix-login\nhost=elsewhere\npid=1\ntoken=t\n"));
        QCOMPARE(d->lockLogin("Anna"), tProgramData::LoginOutcome::Held);
        QFile file(mark);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(-61),
                                 QFileDevice::FileModificationTime));
        file.close();
        QCOMPARE(d->lockLogin("Anna"), tProgramData::LoginOutcome::Taken);
        d->commitLogin();
        // Taken over by someone else: refreshing says so.
        QVERIFY(f.write("Anna.gfl", "gripsfix-login\nhost=elsewhere\npid=1\ntoken=u\n"));
        QVERIFY(!d->refreshLogin());
    }

    void todayMeansEveryRecordOfToday()
    {
        // Earlier days: 2 word exercises with 1 of 4 right.
        f.clock.moment = QDateTime(QDate(2004, 3, 3), QTime(9, 0));
        {
            auto d = f.registered();
            QVERIFY(d);
            tSession s(*d, false);
            s.finishWord(word(f.clock.moment, 1));
            s.finishWord(word(f.clock.moment.addSecs(600), 1));
        }
        // This morning: 4 of 4; the program ends.
        f.clock.moment = QDateTime(QDate(2004, 3, 5), QTime(9, 0));
        {
            auto d = f.fresh();
            d->UserName = "Anna";
            QVERIFY(d->openUser());
            d->createSessionLists();
            tSession(*d, false).finishWord(word(f.clock.moment, 4));
        }
        // This afternoon: 2 of 4, and a cancelled login in between.
        f.clock.moment = QDateTime(QDate(2004, 3, 5), QTime(15, 0));
        auto d = f.fresh();
        d->UserName = "Anna";
        QVERIFY(d->openUser());
        d->createSessionLists();
        tSession(*d, false).finishWord(word(f.clock.moment, 2));
        QCOMPARE(d->storeSession(), tProgramData::SaveOutcome::Saved); // "Benutzer" …
        const tKatValues k = katValues(*d);                            // … "Abbrechen"
        QCOMPARE(k.WordCount, 2);
        QCOMPARE(k.Values[1], 75.0); // today: (4 + 2) of 8
        QCOMPARE(k.Values[5], 25.0); // earlier: the two exercises before today only
        QCOMPARE(k.WortTotal, 2.0);  // earlier exercises, not counts per level
        QCOMPARE(d->WortCount[1], 4.0);
    }
};

} // namespace gf::test

int main(int argc, char** argv)
{
    if (argc == 4 && qstrcmp(argv[1], "--hold") == 0)
        return gf::test::holdLogin(QString::fromLocal8Bit(argv[2]),
                                   QString::fromLocal8Bit(argv[3]));
    QCoreApplication app(argc, argv);
    gf::test::TstDurability t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_durability.moc"

#include "TestSupport.h"

#include "data/FileFormats.h"
#include "data/ProgramData.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace gf;
using namespace gftest;

class TstUserFile : public QObject
{
    Q_OBJECT

    QTemporaryDir tmp;
    RecordingSink sink;
    FixedClock clock{QDateTime(QDate(2004, 3, 5), QTime(10, 15, 30))};

    std::unique_ptr<tProgramData> fresh(const QString& name = QStringLiteral("Anna"))
    {
        auto d = std::make_unique<tProgramData>(&sink, &clock);
        d->setDataDir(tmp.path());
        d->SessionStart = clock.moment;
        d->UserName = name;
        d->UserFileName = d->DataDir + name + ".mnu";
        return d;
    }
    QByteArray read(const QString& name)
    {
        QFile f(tmp.filePath(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    void write(const QString& name, const QByteArray& bytes)
    {
        QFile f(tmp.filePath(name));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    // Four summary files with "no value", so a user record can be loaded.
    void writeSummaries(const QString& stem)
    {
        for (const char* tag : {"TS", "BS"}) {
            Bytes b;
            b.f64(0);
            for (int m = 0; m < 3; ++m)
                b.i32(-999).f64(-999.0).f64(0);
            write(stem + tag + ".dat", b.b);
        }
        for (const char* tag : {"WS", "BK"}) {
            Bytes b;
            b.f64(0);
            for (int l = 0; l < 4; ++l)
                b.f64(-999.0).f64(0);
            write(stem + tag + ".dat", b.b);
        }
    }
    // One user record exactly as the layout table gives it.
    static Bytes record(const QString& name, double regDate, const QStringList lists[4],
                        const QString sums[4], const double logDates[4], const QString logs[4],
                        int slot, const int tel[3], const int memo[3])
    {
        Bytes b;
        b.slot(name).f64(regDate).u8(0);
        for (int k = 0; k < 4; ++k) {
            b.u16(int(lists[k].size()));
            for (const QString& s : lists[k])
                b.slot(s);
        }
        for (int k = 0; k < 4; ++k)
            b.slot(sums[k]);
        for (int k = 0; k < 4; ++k)
            b.f64(logDates[k]).slot(logs[k]);
        b.u16(slot);
        for (int m = 0; m < 3; ++m)
            b.i32(tel[m]);
        for (int m = 0; m < 3; ++m)
            b.i32(memo[m]);
        return b;
    }

private slots:
    void init()
    {
        sink.clear();
        QDir(tmp.path()).removeRecursively();
        QDir().mkpath(tmp.path());
    }

    void firstLoadCreatesEmptyFile()
    {
        auto d = fresh();
        QVERIFY(d->LoadUserFile());
        QCOMPARE(read("Anna.mnu"), QByteArray("\x09Grips-Fix\0\0", 12));
        QVERIFY(d->UserList.isEmpty());
        QVERIFY(!d->FindUser("Anna"));
        QVERIFY(sink.entries.isEmpty());
        // and the 12-byte file loads again as an empty list
        QVERIFY(d->LoadUserFile());
        QVERIFY(d->UserList.isEmpty());
    }

    void writesLayoutByteForByteAndReadsItBack()
    {
        writeSummaries("Anna");
        const QString dir = QDir(tmp.path()).absolutePath() + "/";
        const QStringList lists[4] = {
            {dir + "AnnaTS_04_01.dat", dir + "AnnaTS_04_02.dat", dir + "AnnaTS_04_03.dat"},
            {},
            {dir + "AnnaWS_04_03.dat"},
            {}};
        const QString sums[4] = {dir + "AnnaTS.dat", dir + "AnnaBS.dat", dir + "AnnaWS.dat",
                                 dir + "AnnaBK.dat"};
        const double dates[4] = {serial(2004, 3, 5, 10, 15, 30), 0, serial(2004, 3, 1, 8), 0};
        const QString logs[4] = {lists[0][2], "", lists[2][0], ""};
        const int tel[3] = {7, 3, 12}, memo[3] = {1, 17, 4};
        Bytes file;
        file.b = QByteArray("\x09Grips-Fix", 10);
        file.u16(1);
        file.b += record("Anna", serial(2004, 1, 31), lists, sums, dates, logs, 3, tel, memo).b;
        QCOMPARE(file.b.size(), 12 + 2379 + 4 * 256);
        write("Anna.mnu", file.b);

        auto d = fresh();
        QVERIFY(d->LoadUserFile());
        QCOMPARE(d->UserList.size(), 1);
        const auto u = d->FindUser("Anna");
        QVERIFY(u);
        QCOMPARE(u->TelFiles, lists[0]);
        QCOMPARE(u->WortFiles, lists[2]);
        QCOMPARE(u->Logs[1].FileName, logs[0]);
        QCOMPARE(u->Logs[1].LastDate.toDateTime(), QDateTime(QDate(2004, 3, 5), QTime(10, 15, 30)));
        QCOMPARE(u->RegSlot, quint16(3));
        QCOMPARE(u->TelLevel[3], 12);
        QCOMPARE(u->MemoLevel[2], 17);
        QVERIFY(!d->FindUser("anna")); // exact, case-sensitive

        QVERIFY(d->SaveUserFile());
        QCOMPARE(read("Anna.mnu"), file.b);
    }

    void rejectsForeignMagicWithoutTouchingTheFile_data()
    {
        QTest::addColumn<QByteArray>("head");
        QTest::newRow("first byte") << QByteArray("\x08Grips-Fix", 10);
        QTest::newRow("case") << QByteArray("\x09grips-Fix", 10);
        QTest::newRow("letter") << QByteArray("\x09Grips-Fiz", 10);
    }
    void rejectsForeignMagicWithoutTouchingTheFile()
    {
        QFETCH(QByteArray, head);
        const QByteArray bytes = head + QByteArray("\0\0", 2);
        write("Anna.mnu", bytes);
        auto d = fresh();
        QVERIFY(!d->LoadUserFile());
        QCOMPARE(sink.last(), QStringLiteral("Ungültige Benutzerinformationen!"));
        QCOMPARE(sink.entries.last().kind, int(mkFehlermeldung));
        QCOMPARE(sink.entries.last().help, 2222);
        QCOMPARE(read("Anna.mnu"), bytes);
    }

    void damagedCountsAreErrorsNotAllocations_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray magic("\x09Grips-Fix", 10);
        QTest::newRow("short magic") << QByteArray("\x09Gri", 4);
        QTest::newRow("no count") << magic;
        QTest::newRow("65535 records, none there") << magic + QByteArray("\xFF\xFF", 2);
        // A record whose telephone list claims 65535 entries and ends right after.
        Bytes b;
        b.b = magic;
        b.u16(1).slot("Anna").f64(0).u8(0).u16(0xFFFF);
        b.b.append(2379 - b.b.size() + 12, '\0');
        QTest::newRow("huge list count") << b.b;
    }
    void damagedCountsAreErrorsNotAllocations()
    {
        QFETCH(QByteArray, bytes);
        write("Anna.mnu", bytes);
        auto d = fresh();
        QVERIFY(!d->LoadUserFile());
        QVERIFY(sink.last().startsWith("Fehler: "));
        QVERIFY(d->UserList.isEmpty());
    }

    void recordsBeforeDamageStay()
    {
        writeSummaries("Anna");
        const QStringList none[4];
        const QString sums[4] = {tmp.filePath("AnnaTS.dat"), tmp.filePath("AnnaBS.dat"),
                                 tmp.filePath("AnnaWS.dat"), tmp.filePath("AnnaBK.dat")};
        const double dates[4] = {};
        const QString logs[4];
        const int tel[3] = {3, 3, 3}, memo[3] = {1, 1, 1};
        Bytes file;
        file.b = QByteArray("\x09Grips-Fix", 10);
        file.u16(2);
        file.b += record("Anna", 0, none, sums, dates, logs, 1, tel, memo).b;
        file.b += QByteArray(100, '\0');
        write("Anna.mnu", file.b);
        auto d = fresh();
        QVERIFY(!d->LoadUserFile());
        QCOMPARE(d->UserList.size(), 1);
    }

    void longTextIsCutAndPathsFitTheirSlots()
    {
        // A name of 255 characters round-trips; longer text is cut.
        tUser u;
        u.Name = QString(300, QChar(u'ä'));
        // A data folder so deep that full names do not fit a slot.
        const QString deep = QDir(tmp.path()).absolutePath() + "/" + QString(120, 'a') + "/" +
                             QString(120, 'b') + "/";
        u.TelSumFile = deep + "AnnaTS.dat";
        u.TelFiles = {deep + "AnnaTS_04_03.dat"};
        const QByteArray bytes = fileformat::writeUserFile({std::make_shared<tUser>(u)});
        QList<std::shared_ptr<tUser>> back;
        QCOMPARE(fileformat::readUserFile(bytes, back), fileformat::ReadResult::Ok);
        QCOMPARE(back[0]->Name, QString(255, QChar(u'ä')));
        QCOMPARE(back[0]->TelSumFile, QStringLiteral("AnnaTS.dat"));
        QCOMPARE(back[0]->TelFiles, QStringList{"AnnaTS_04_03.dat"});
        QCOMPARE(quint8(bytes[12]), quint8(255));
        QCOMPARE(quint8(bytes[12 + 1]), quint8(0xE4));
    }

    void namesFromAnotherComputerAreFoundInTheDataFolder()
    {
        writeSummaries("Anna");
        // A telephone summary that exists, so the log names must be resolved one by one.
        write("AnnaTS_04_03.dat", QByteArray(700, '\0'));
        const QString sums[4] = {"C:\\Alt\\Daten\\AnnaTS.dat", "C:\\Alt\\Daten\\AnnaBS.dat",
                                 "/old/place/AnnaWS.dat", "AnnaBK.dat"};
        const QStringList lists[4] = {{"C:\\Alt\\Daten\\AnnaTS_04_03.dat"}, {}, {}, {}};
        const double dates[4] = {};
        const QString logs[4] = {"C:\\Alt\\Daten\\AnnaTS_04_03.dat", "", "", ""};
        const int tel[3] = {3, 3, 3}, memo[3] = {1, 1, 1};
        Bytes file;
        file.b = QByteArray("\x09Grips-Fix", 10);
        file.u16(1);
        file.b += record("Anna", 0, lists, sums, dates, logs, 1, tel, memo).b;
        write("Anna.mnu", file.b);

        // The summary values must come from the files found in the data folder.
        Bytes ts;
        ts.f64(0).i32(9).f64(6.5).f64(2).i32(-999).f64(-999).f64(0).i32(-999).f64(-999).f64(0);
        write("AnnaTS.dat", ts.b);

        auto d = fresh();
        QVERIFY2(d->LoadUserFile(), qPrintable(sink.last()));
        const auto u = d->FindUser("Anna");
        QCOMPARE(u->TelSumFile, d->DataDir + "AnnaTS.dat");
        QCOMPARE(u->WortSumFile, d->DataDir + "AnnaWS.dat");
        QCOMPARE(u->BildSumFile, d->DataDir + "AnnaBK.dat");
        QCOMPARE(u->TelFiles, QStringList{d->DataDir + "AnnaTS_04_03.dat"});
        QCOMPARE(u->Logs[1].FileName, d->DataDir + "AnnaTS_04_03.dat");
        QCOMPARE(d->TelBest[1], 9);
        QCOMPARE(d->TelAvg[1], 6.5);
    }

    void failedSaveKeepsTheOldFile()
    {
        auto d = fresh();
        QVERIFY(d->LoadUserFile());
        auto u = std::make_shared<tUser>();
        u->Name = "Anna";
        d->UserList.append(u);
        QVERIFY(d->SaveUserFile());
        const QByteArray before = read("Anna.mnu");
        u->TelFiles = QStringList(20, d->DataDir + "AnnaTS_04_03.dat");
        {
            FileSizeLimit limit(4096);
            QVERIFY(!d->SaveUserFile());
        }
        QVERIFY(sink.last().startsWith("Fehler: "));
        QCOMPARE(read("Anna.mnu"), before);

        d->DataDirReadOnly = true;
        {
            FileSizeLimit limit(1024);
            QVERIFY(!d->SaveUserFile());
        }
        QCOMPARE(sink.last(), QStringLiteral("Auf dem aktuellen Laufwerk können keine "
                                             "Benutzerinformationen geschrieben werden."));
        QCOMPARE(sink.entries.last().kind, int(mkHinweis));
        QCOMPARE(read("Anna.mnu"), before);
    }
};

QTEST_GUILESS_MAIN(TstUserFile)
#include "tst_userfile.moc"

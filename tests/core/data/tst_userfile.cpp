#include "support/DataSupport.h"

#include "core/data/FileFormats.h"

#include <QTest>

using namespace gf;
using namespace gf::test;

// The user file: its layout, damaged and hostile files, and safe rewriting.
class TstUserFile : public QObject
{
    Q_OBJECT

    DataFolder f;
    const QByteArray magic{"\x09Grips-Fix", 10};

    std::unique_ptr<tProgramData> fresh()
    {
        auto d = f.fresh();
        d->UserName = "Anna";
        d->UserFileName = d->DataDir + "Anna.mnu";
        return d;
    }
    // Four summary files without values, so a user record can be loaded.
    void writeSummaries()
    {
        for (const char* tag : {"TS", "BS", "WS", "BK"})
            QVERIFY(f.write(QStringLiteral("Anna%1.dat").arg(tag),
                            emptySummary(0, QByteArray("TS BS").contains(tag))));
    }
    // A user file of Anna's records exactly as the layout table gives it; empty
    // summary names are those of the data folder.
    QByteArray userFile(int count, const QStringList lists[4], QStringList sums = {},
                        const double logDates[4] = nullptr, const QString logs[4] = nullptr,
                        int slot = 1, QList<int> levels = {3, 3, 3, 1, 1, 1})
    {
        Bytes b;
        b.b = magic;
        b.u16(count).slot("Anna").f64(serial(2004, 1, 31)).u8(0);
        for (int k = 0; k < 4; ++k) {
            b.u16(int(lists[k].size()));
            for (const QString& s : lists[k])
                b.slot(s);
        }
        if (sums.isEmpty())
            for (const char* tag : {"TS", "BS", "WS", "BK"})
                sums.append(f.path(QStringLiteral("Anna%1.dat").arg(tag)));
        for (const QString& s : sums)
            b.slot(s);
        for (int k = 0; k < 4; ++k)
            b.f64(logDates ? logDates[k] : 0).slot(logs ? logs[k] : QString());
        b.u16(slot);
        for (int v : levels)
            b.i32(v);
        return b.b;
    }

private slots:
    void init() { f.reset(); }

    void firstLoadCreatesEmptyFile()
    {
        auto d = fresh();
        QVERIFY(d->LoadUserFile());
        QCOMPARE(f.read("Anna.mnu"), magic + QByteArray(2, '\0'));
        QVERIFY(f.sink.entries.isEmpty());
        // and the 12-byte file loads again as an empty list
        QVERIFY(d->LoadUserFile());
        QVERIFY(d->UserList.isEmpty());
    }

    void writesLayoutByteForByteAndReadsItBack()
    {
        writeSummaries();
        const QString dir = QDir(f.tmp.path()).absolutePath() + "/";
        const QStringList lists[4] = {
            {dir + "AnnaTS_04_01.dat", dir + "AnnaTS_04_02.dat", dir + "AnnaTS_04_03.dat"},
            {},
            {dir + "AnnaWS_04_03.dat"},
            {}};
        const double dates[4] = {serial(2004, 3, 5, 10, 15, 30), 0, serial(2004, 3, 1, 8), 0};
        const QString logs[4] = {lists[0][2], "", lists[2][0], ""};
        const QByteArray file = userFile(1, lists, {}, dates, logs, 3, {7, 3, 12, 1, 17, 4});
        QCOMPARE(file.size(), 12 + 2379 + 4 * 256);
        QVERIFY(f.write("Anna.mnu", file));

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
        QCOMPARE(f.read("Anna.mnu"), file);
    }

    void damagedFilesAreErrorsNotAllocations_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("says");
        const QString foreign = QStringLiteral("Ungültige Benutzerinformationen!");
        QTest::newRow("first byte") << QByteArray("\x08Grips-Fix\0\0", 12) << foreign;
        QTest::newRow("letter case") << QByteArray("\x09grips-Fix\0\0", 12) << foreign;
        QTest::newRow("short magic") << QByteArray("\x09Gri", 4) << "Fehler: ";
        QTest::newRow("no count") << magic << "Fehler: ";
        QTest::newRow("65535 records, none there") << magic + "\xFF\xFF"
                                                   << "Fehler: ";
        // A record whose telephone list claims 65535 entries and ends right after.
        Bytes b;
        b.b = magic;
        b.u16(1).slot("Anna").f64(0).u8(0).u16(0xFFFF);
        b.b.append(2379 - b.b.size() + 12, '\0');
        QTest::newRow("huge list count") << b.b << "Fehler: ";
    }
    void damagedFilesAreErrorsNotAllocations()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, says);
        QVERIFY(f.write("Anna.mnu", bytes));
        auto d = fresh();
        QVERIFY(!d->LoadUserFile());
        QVERIFY2(f.sink.last().startsWith(says), qPrintable(f.sink.last()));
        if (!says.startsWith("Fehler")) {
            QCOMPARE(f.sink.entries.last().kind, int(mkFehlermeldung));
            QCOMPARE(f.sink.entries.last().help, 2222);
        }
        QVERIFY(d->UserList.isEmpty());
        QCOMPARE(f.read("Anna.mnu"), bytes);
    }

    void recordsBeforeDamageStay()
    {
        writeSummaries();
        const QStringList none[4];
        QVERIFY(f.write("Anna.mnu", userFile(2, none) + QByteArray(100, '\0')));
        auto d = fresh();
        QVERIFY(!d->LoadUserFile());
        QCOMPARE(d->UserList.size(), 1);
    }

    void longTextIsCutAndPathsFitTheirSlots()
    {
        tUser u;
        u.Name = QString(300, QChar(u'ä'));
        // A data folder so deep that full names do not fit a slot.
        const QString deep = QDir(f.tmp.path()).absolutePath() + "/" + QString(120, 'a') + "/" +
                             QString(120, 'b') + "/";
        u.TelSumFile = deep + "AnnaTS.dat";
        u.TelFiles = {deep + "AnnaTS_04_03.dat"};
        const QByteArray bytes = fileformat::writeUserFile({std::make_shared<tUser>(u)});
        QCOMPARE(quint8(bytes[12]), quint8(255));
        QCOMPARE(quint8(bytes[12 + 1]), quint8(0xE4));
        QList<std::shared_ptr<tUser>> back;
        QCOMPARE(fileformat::readUserFile(bytes, back), fileformat::ReadResult::Ok);
        QCOMPARE(back[0]->Name, QString(255, QChar(u'ä')));
        QCOMPARE(back[0]->TelSumFile, QStringLiteral("AnnaTS.dat"));
        QCOMPARE(back[0]->TelFiles, QStringList{"AnnaTS_04_03.dat"});
    }

    void storedNamesAlwaysMeanTheDataFolder()
    {
        writeSummaries();
        // A telephone summary with values, and a log that exists under its plain name.
        QVERIFY(f.write("AnnaTS.dat", Bytes().f64(0).i32(9).f64(6.5).f64(2).b +
                                          emptySummary(0, true).mid(8 + 20)));
        QVERIFY(f.write("AnnaTS_04_03.dat", QByteArray(700, '\0')));
        // Names of another folder, where files of those names exist too.
        QTemporaryDir elsewhere;
        const QString away = elsewhere.path() + "/";
        for (const char* name : {"AnnaTS.dat", "AnnaBS.dat", "AnnaTS_04_03.dat"}) {
            QFile out(away + name);
            QVERIFY(out.open(QIODevice::WriteOnly) && out.write("not Anna's") == 10);
        }
        const QStringList lists[4] = {{away + "AnnaTS_04_03.dat"}, {}, {}, {}};
        const QString logs[4] = {lists[0][0], "", "", ""};
        const double dates[4] = {serial(2004, 3, 1)};
        QVERIFY(f.write("Anna.mnu", userFile(1, lists,
                                             {away + "AnnaTS.dat", away + "AnnaBS.dat",
                                              "C:\\Alt\\Daten\\AnnaWS.dat", "AnnaBK.dat"},
                                             dates, logs)));

        auto d = fresh();
        QVERIFY2(d->LoadUserFile(), qPrintable(f.sink.last()));
        const auto u = d->FindUser("Anna");
        QCOMPARE(u->TelSumFile, d->DataDir + "AnnaTS.dat");
        QCOMPARE(u->MemoSumFile, d->DataDir + "AnnaBS.dat");
        QCOMPARE(u->WortSumFile, d->DataDir + "AnnaWS.dat");
        QCOMPARE(u->BildSumFile, d->DataDir + "AnnaBK.dat");
        QCOMPARE(u->TelFiles, QStringList{d->DataDir + "AnnaTS_04_03.dat"});
        QCOMPARE(u->Logs[1].FileName, d->DataDir + "AnnaTS_04_03.dat");
        QCOMPARE(d->TelBest[1], 9);
        QCOMPARE(d->TelAvg[1], 6.5);

        // Saving writes into the data folder only.
        d->CurrentUser = u;
        d->createSessionLists();
        d->TelStatList = {tTeleStat{}};
        d->TelStatList[0].Mode = 1;
        QVERIFY(d->SaveSessionResults(*u));
        QCOMPARE(f.size("AnnaTS_04_03.dat"), 1400);
        for (const QString& name : QDir(away).entryList(QDir::Files)) {
            QFile in(away + name);
            QVERIFY(in.open(QIODevice::ReadOnly));
            QCOMPARE(in.readAll(), QByteArray("not Anna's"));
        }
    }

    void failedSaveKeepsTheOldFile()
    {
        auto d = fresh();
        QVERIFY(d->LoadUserFile());
        auto u = std::make_shared<tUser>();
        u->Name = "Anna";
        d->UserList.append(u);
        QVERIFY(d->SaveUserFile());
        const QByteArray before = f.read("Anna.mnu");
        u->TelFiles = QStringList(20, d->DataDir + "AnnaTS_04_03.dat");
        {
            FileSizeLimit limit(4096);
            QVERIFY(!d->SaveUserFile());
        }
        QVERIFY(f.sink.last().startsWith("Fehler: "));
        QCOMPARE(f.read("Anna.mnu"), before);

        d->DataDirReadOnly = true;
        {
            FileSizeLimit limit(1024);
            QVERIFY(!d->SaveUserFile());
        }
        QCOMPARE(f.sink.last(), QStringLiteral("Auf dem aktuellen Laufwerk können keine "
                                               "Benutzerinformationen geschrieben werden."));
        QCOMPARE(f.sink.entries.last().kind, int(mkHinweis));
        QCOMPARE(f.read("Anna.mnu"), before);
    }
};

QTEST_GUILESS_MAIN(TstUserFile)
#include "tst_userfile.moc"

#include "TestSupport.h"

#include "data/ProgramData.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace gf;
using namespace gftest;

// Registration, the list of detectives, opening and deletion.
class TstUsers : public QObject
{
    Q_OBJECT

    QTemporaryDir tmp;
    RecordingSink sink;
    FixedClock clock{QDateTime(QDate(2004, 3, 5), QTime(10, 15, 30))};

    std::unique_ptr<tProgramData> fresh()
    {
        auto d = std::make_unique<tProgramData>(&sink, &clock);
        d->setDataDir(tmp.path());
        d->SessionStart = clock.moment;
        return d;
    }
    QStringList files() const { return QDir(tmp.path()).entryList(QDir::Files, QDir::Name); }
    void touch(const QString& name) { QFile(tmp.filePath(name)).open(QIODevice::WriteOnly); }

private slots:
    void init()
    {
        sink.clear();
        QDir(tmp.path()).removeRecursively();
        QDir().mkpath(tmp.path());
    }

    void registrationTrimsAndRefusesDuplicates()
    {
        auto d = fresh();
        QVERIFY(d->RegisterUser("  Anna  ", 1));
        QCOMPARE(files(),
                 (QStringList{"Anna.mnu", "AnnaBK.dat", "AnnaBS.dat", "AnnaTS.dat", "AnnaWS.dat"}));
        QCOMPARE(d->UserName, QStringLiteral("Anna"));
        QVERIFY(!d->CurrentUser); // registered, not yet logged in

        for (const char* again : {" Anna ", "ANNA"}) {
            QVERIFY(!d->RegisterUser(again, 1));
            QCOMPARE(sink.last(), QStringLiteral("Der Detektiv ") + again +
                                      " ist bereits registriert!\n\rBitte wählen Sie einen "
                                      "anderen Namen!");
            QCOMPARE(sink.entries.last().kind, int(mkAchtung));
        }
        QCOMPARE(files().size(), 5);
    }

    void unsafeNamesAreRefused_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("start");
        QTest::newRow("empty") << ""
                               << "Bitte geben Sie einen Namen ein!";
        QTest::newRow("blanks") << "   "
                                << "Bitte geben Sie einen Namen ein!";
        for (const char* bad : {"../x", "a/b", "a\\b", "C:x", "a*", "a?", "a\"b", "<a>", "a|b"})
            QTest::newRow(bad) << QString(bad) << "Der Name darf keines der Zeichen";
        QTest::newRow("tab") << "a\tb"
                             << "Der Name darf keines der Zeichen";
        QTest::newRow("dot") << ".Anna"
                             << "Der Name darf nicht mit einem Punkt";
        QTest::newRow("dotdot") << ".."
                                << "Der Name darf nicht mit einem Punkt";
        QTest::newRow("not 1252") << "Анна"
                                  << "Der Name enthält Zeichen";
        QTest::newRow("too long") << QString(240, 'a') << "Der Name ist zu lang.";
        QTest::newRow("too long in UTF-8") << QString(120, QChar(u'ä')) << "Der Name ist zu lang.";
    }
    void unsafeNamesAreRefused()
    {
        QFETCH(QString, name);
        QFETCH(QString, start);
        auto d = fresh();
        QVERIFY(!d->RegisterUser(name, 1));
        QVERIFY2(sink.last().startsWith(start), qPrintable(sink.last()));
        QVERIFY(files().isEmpty());
        QVERIFY(QDir(tmp.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
    }

    void longestNameStillWorks()
    {
        auto d = fresh();
        const QString name(239, 'a');
        QVERIFY2(d->RegisterUser(name, 1), qPrintable(sink.last()));
        d->UserName = name;
        QVERIFY(d->OpenUser());
        d->CreateSessionLists();
        d->TelStatList.append(tTeleStat{});
        d->TelStatList[0].Mode = 1;
        QVERIFY(d->SaveSessionResults(*d->CurrentUser));
        QVERIFY(QFileInfo::exists(tmp.filePath(name + "TS_04_03.dat")));
    }

    void listTakesEveryUserFileInAnyCase()
    {
        touch("Berta.MNU");
        touch("anna.mnu");
        touch("Carl.mnu.mnu");
        touch("Dora.mnu.bak");
        touch("Emil.txt");
        auto d = fresh();
        QCOMPARE(d->ListUsers(), (QStringList{"Berta", "Carl", "anna"}));

        // A user file with its extension in capitals opens.
        auto r = fresh();
        QVERIFY(r->RegisterUser("Anton", 1));
        QVERIFY(QFile::rename(tmp.filePath("Anton.mnu"), tmp.filePath("Anton.MNU")));
        r->UserName = "Anton";
        QVERIFY2(r->OpenUser(), qPrintable(sink.last()));
        QCOMPARE(r->CurrentUser->Name, QStringLiteral("Anton"));

        // A user file without that detective's record.
        QVERIFY(QFile::copy(tmp.filePath("Anton.MNU"), tmp.filePath("Zora.mnu")));
        r->UserName = "Zora";
        QVERIFY(!r->OpenUser());
        QCOMPARE(sink.last(), QStringLiteral("Fehler: Detektiv Zora existiert nicht!"));
        r->UserName = "../Anton";
        QVERIFY(!r->OpenUser());
    }

    void deletionRemovesOnlyTheDetectivesOwnFiles()
    {
        auto d = fresh();
        for (const char* name : {"Anna", "AnnaTS", "Annabell", "Anna_04"})
            QVERIFY(d->RegisterUser(name, 1));
        for (const char* name : {"Anna", "AnnaTS", "Annabell", "Anna_04"}) {
            d->UserName = name;
            QVERIFY(d->OpenUser());
            d->CreateSessionLists();
            d->TelStatList = {tTeleStat{}};
            d->TelStatList[0].Mode = 1;
            d->WortStatList = {tWortKatStat{}};
            QVERIFY(d->SaveSessionResults(*d->CurrentUser));
            QVERIFY(d->SaveUserFile());
        }
        touch("AnnaTS_04_03_2.dat"); // a numbered log of Anna
        touch("Anna.txt");           // not the program's
        const QStringList before = files();
        QVERIFY(d->DeleteUser(" Anna "));
        QStringList gone;
        for (const QString& f : before)
            if (!files().contains(f))
                gone.append(f);
        QCOMPARE(gone, (QStringList{"Anna.mnu", "AnnaBK.dat", "AnnaBS.dat", "AnnaTS.dat",
                                    "AnnaTS_04_03.dat", "AnnaTS_04_03_2.dat", "AnnaWS.dat",
                                    "AnnaWS_04_03.dat"}));
        QCOMPARE(d->ListUsers(), (QStringList{"AnnaTS", "Anna_04", "Annabell"}));
        for (const char* name : {"AnnaTS", "Anna_04", "Annabell"}) {
            d->UserName = name;
            QVERIFY2(d->OpenUser(), name);
        }
        QVERIFY(!d->DeleteUser("Anna"));
        QVERIFY(!d->DeleteUser("../x"));
    }
};

QTEST_GUILESS_MAIN(TstUsers)
#include "tst_users.moc"

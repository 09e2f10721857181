#include "support/DataSupport.h"

#include <QTest>

using namespace gf;
using namespace gf::test;

// Registration, the list of detectives, opening and deletion.
class TstUsers : public QObject
{
    Q_OBJECT

    DataFolder f;

private slots:
    void init() { f.reset(); }

    void registrationTrimsAndRefusesDuplicates()
    {
        auto d = f.fresh();
        QVERIFY(d->RegisterUser("  Anna  ", 1));
        QCOMPARE(f.files(),
                 (QStringList{"Anna.mnu", "AnnaBK.dat", "AnnaBS.dat", "AnnaTS.dat", "AnnaWS.dat"}));
        QVERIFY(!d->CurrentUser); // registered, not yet logged in

        for (const char* again : {" Anna ", "ANNA"}) {
            QVERIFY(!d->RegisterUser(again, 1));
            QCOMPARE(f.sink.last(), QStringLiteral("Der Detektiv ") + again +
                                        " ist bereits registriert!\n\rBitte wählen Sie einen "
                                        "anderen Namen!");
            QCOMPARE(f.sink.entries.last().kind, int(mkAchtung));
        }
        QCOMPARE(f.files().size(), 5);
    }

    void unsafeNamesAreRefused_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("start");
        QTest::newRow("blanks") << "   "
                                << "Bitte geben Sie einen Namen ein!";
        for (const char* bad : {"../x", "a\\b", "C:x", "a*", "<a>", "a\tb"})
            QTest::newRow(bad) << QString(bad) << "Der Name darf keines der Zeichen";
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
        QVERIFY(!f.fresh()->RegisterUser(name, 1));
        QVERIFY2(f.sink.last().startsWith(start), qPrintable(f.sink.last()));
        QVERIFY(QDir(f.tmp.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
    }

    void longestNameStillWorks()
    {
        const QString name(239, 'a');
        auto d = f.registered(name);
        QVERIFY2(d, qPrintable(f.sink.last()));
        d->TelStatList = {tTeleStat{}};
        d->TelStatList[0].Mode = 1;
        QVERIFY(d->SaveSessionResults(*d->CurrentUser));
        QVERIFY(QFileInfo::exists(f.path(name + "TS_04_03.dat")));
    }

    void listTakesEveryUserFileInAnyCase()
    {
        for (const char* name :
             {"Berta.MNU", "anna.mnu", "Carl.mnu.mnu", "Dora.mnu.bak", "Emil.txt"})
            QVERIFY(f.write(name, {}));
        auto d = f.fresh();
        QCOMPARE(d->ListUsers(), (QStringList{"Berta", "Carl", "anna"}));

        // A user file with its extension in capitals opens.
        QVERIFY(d->RegisterUser("Anton", 1));
        QVERIFY(QFile::rename(f.path("Anton.mnu"), f.path("Anton.MNU")));
        d->UserName = "Anton";
        QVERIFY2(d->OpenUser(), qPrintable(f.sink.last()));
        QCOMPARE(d->CurrentUser->Name, QStringLiteral("Anton"));

        // A user file without that detective's record.
        QVERIFY(QFile::copy(f.path("Anton.MNU"), f.path("Zora.mnu")));
        d->UserName = "Zora";
        QVERIFY(!d->OpenUser());
        QCOMPARE(f.sink.last(), QStringLiteral("Fehler: Detektiv Zora existiert nicht!"));
        d->UserName = "../Anton";
        QVERIFY(!d->OpenUser());
    }

    void deletionRemovesOnlyTheDetectivesOwnFiles()
    {
        const QStringList names = {"Anna", "AnnaTS", "Anna_04", "Annabell"};
        for (const QString& name : names) {
            auto d = f.registered(name);
            QVERIFY(d);
            d->TelStatList = {tTeleStat{}};
            d->TelStatList[0].Mode = 1;
            d->WortStatList = {tWortKatStat{}};
            QVERIFY(d->SaveSessionResults(*d->CurrentUser));
            QVERIFY(d->SaveUserFile());
        }
        QVERIFY(f.write("AnnaTS_04_03_2.dat", {})); // a numbered log of Anna
        QVERIFY(f.write("Anna.txt", {}));           // not the program's
        const QStringList before = f.files();
        auto d = f.fresh();
        QVERIFY(d->DeleteUser(" Anna "));
        QStringList gone;
        for (const QString& file : before)
            if (!f.files().contains(file))
                gone.append(file);
        QCOMPARE(gone, (QStringList{"Anna.mnu", "AnnaBK.dat", "AnnaBS.dat", "AnnaTS.dat",
                                    "AnnaTS_04_03.dat", "AnnaTS_04_03_2.dat", "AnnaWS.dat",
                                    "AnnaWS_04_03.dat"}));
        QCOMPARE(d->ListUsers(), names.mid(1));
        for (const QString& name : names.mid(1)) {
            d->UserName = name;
            QVERIFY2(d->OpenUser(), qPrintable(name));
        }
        QVERIFY(!d->DeleteUser("Anna"));
        QVERIFY(!d->DeleteUser("../x"));
    }
};

QTEST_GUILESS_MAIN(TstUsers)
#include "tst_users.moc"

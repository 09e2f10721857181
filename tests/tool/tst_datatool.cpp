#include "support/DataSupport.h"

#include "sys/DataFiles.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

#include <cstdio>

#include <sys/stat.h>
#include <unistd.h>

using namespace gf;
using namespace gf::test;

// The data tool as a therapist runs it: exit status, standard output, standard error.
class TstDataTool : public QObject
{
    Q_OBJECT

    DataFolder f;

private slots:
    void init() { f.reset(); }

    void registerListShowDelete()
    {
        const QString dir = f.tmp.path();
        QCOMPARE(runDataTool({"register", dir, " Zoë "}).status, 0);
        QCOMPARE(runDataTool({"register", dir, "Anna"}).status, 0);
        const ToolRun again = runDataTool({"register", dir, "Anna"});
        QCOMPARE(again.status, 1);
        QVERIFY(again.err.contains("ist bereits registriert!\nBitte wählen"));
        QCOMPARE(runDataTool({"list", dir}).out, QString("Anna\nZoë\n").toUtf8());

        const ToolRun shown = runDataTool({"show", dir, "Anna"});
        QCOMPARE(shown.status, 0);
        const QJsonObject o = QJsonDocument::fromJson(shown.out).object();
        QCOMPARE(o["regDate"].toString(), QDate::currentDate().toString(Qt::ISODate));
        QCOMPARE(o["telLevel"].toArray(), (QJsonArray{3, 3, 3}));
        QCOMPARE(o["telSumFile"].toString(), QDir(dir).absoluteFilePath("AnnaTS.dat"));
        QCOMPARE(o["logs"][0]["lastDate"].toString(), QStringLiteral("1899-12-30T00:00:00"));
        QCOMPARE(o["summary"]["wortAvg"].toArray(), (QJsonArray{-999, -999, -999, -999}));

        QCOMPARE(runDataTool({"delete", dir, "Anna"}).status, 0);
        QCOMPARE(runDataTool({"list", dir}).out, QString("Zoë\n").toUtf8());
        const ToolRun gone = runDataTool({"show", dir, "Anna"});
        QCOMPARE(gone.status, 1);
        QVERIFY(gone.err.contains("Detektiv Anna existiert nicht!"));
        QCOMPARE(runDataTool({"delete", dir, "Anna"}).status, 1);
        QCOMPARE(runDataTool({"list", f.path("missing")}).status, 1);
        QCOMPARE(runDataTool({"register", dir, "Zed.mnu.old"}).status, 1);
    }

    void hostileDataFolder()
    {
        const QString dir = f.tmp.path();
        auto p = f.registered();
        QVERIFY(p);
        p->WortStatList = {tWortKatStat{}};
        QVERIFY(p->SaveSessionResults(*p->CurrentUser) && p->SaveUserFile());
        QVERIFY(f.write("std.txt", "Tabelle: T\nZeile: |a|b|c|d\nZeile: |x|x|x|x\n"
                                   "Zeile: 1|a|b|c|d\nZeile: 2|e|f|g|h\nZeile: 3|i|j|k|l\n"));
        QCOMPARE(runDataTool({"make-tables", f.path("std.txt"), f.path("std.cfg")}).status, 0);

        // Output that cannot be written is a failure of every command.
        for (const QStringList& args : {QStringList{"list", dir},
                                        {"show", dir, "Anna"},
                                        {"tables", f.path("std.cfg")},
                                        {"export", dir, "Anna", "--kind", "search"}}) {
            const ToolRun full = runDataTool(args, "/dev/full");
            QCOMPARE(full.status, 1);
            QVERIFY2(full.err.contains("der Datenträger ist voll"), qPrintable(full.err));
        }

        // A pipe or a device in place of a file is refused by name, not read.
        QCOMPARE(::mkfifo(QFile::encodeName(f.path("Bert.mnu")).constData(), 0644), 0);
        QCOMPARE(::mkfifo(QFile::encodeName(f.path("pipe.cfg")).constData(), 0644), 0);
        const QString log = f.path("AnnaWS_04_03.dat");
        QVERIFY(QFile::remove(log) && QFile::link("/dev/zero", log));
        for (const QStringList& args : {QStringList{"show", dir, "Bert"},
                                        {"tables", f.path("pipe.cfg")},
                                        {"make-tables", f.path("pipe.cfg"), f.path("x.cfg")},
                                        {"export", dir, "Anna", "--kind", "search"}}) {
            const ToolRun refused = runDataTool(args);
            QCOMPARE(refused.status, 1);
            QVERIFY2(refused.err.contains("keine gewöhnliche Datei"), qPrintable(refused.err));
        }
    }

    void namesInWindows1252AreFound()
    {
        // A detective copied from Windows: every file name in Windows-1252.
        auto p = f.registered("Zoë");
        QVERIFY(p);
        p->TelStatList = {tTeleStat{}};
        p->TelStatList[0].Mode = 1;
        QVERIFY(p->SaveSessionResults(*p->CurrentUser) && p->SaveUserFile());
        const QByteArray dir = QFile::encodeName(f.tmp.path()) + '/';
        for (const QString& name : f.files())
            QCOMPARE(::rename(dir + name.toUtf8(), dir + "Zo\xEB" + name.mid(3).toUtf8()), 0);
        QVERIFY(f.files().isEmpty()); // invisible to Qt's listing

        QCOMPARE(runDataTool({"list", f.tmp.path()}).out, QByteArray("Zo\xC3\xAB\n"));
        const ToolRun shown = runDataTool({"show", f.tmp.path(), "Zoë"});
        QCOMPARE(shown.status, 0);
        QCOMPARE(QJsonDocument::fromJson(shown.out)["summary"]["telCount"][0].toDouble(), 1.0);
        const ToolRun exported = runDataTool({"export", f.tmp.path(), "Zoë", "--kind", "sequence"});
        QCOMPARE(exported.out.count("\r\n"), 2);
        QCOMPARE(runDataTool({"delete", f.tmp.path(), "Zoë"}).status, 0);
        QCOMPARE(files::entries(f.tmp.path()), QStringList());
    }

    // The same name in both spellings is two detectives: each is reached by its own
    // name, and the bare name touches neither.
    void twoSpellingsAreTwoDetectives()
    {
        auto p = f.registered("Zoë");
        QVERIFY(p);
        p->WortStatList = {tWortKatStat{}};
        QVERIFY(p->SaveSessionResults(*p->CurrentUser) && p->SaveUserFile());
        const QByteArray dir = QFile::encodeName(f.tmp.path()) + '/';
        const QStringList made = f.files();
        for (const QString& name : made) {
            const QByteArray bytes = f.read(name);
            FILE* copy = std::fopen((dir + "Zo\xEB" + name.mid(3).toUtf8()).constData(), "wb");
            QVERIFY(copy);
            QCOMPARE(std::fwrite(bytes.constData(), 1, size_t(bytes.size()), copy),
                     size_t(bytes.size()));
            std::fclose(copy);
        }
        p.reset();
        auto q = f.fresh();
        QCOMPARE(f.files(), made); // the Windows-1252 copies are not in Qt's listing

        QCOMPARE(runDataTool({"list", f.tmp.path()}).out,
                 QByteArray("Zo\xC3\xAB\nZo\xC3\xAB (Windows-1252)\n"));
        const ToolRun bare = runDataTool({"delete", f.tmp.path(), "Zoë"});
        QCOMPARE(bare.status, 1);
        QVERIFY2(bare.err.contains("Zoë (UTF-8)") && bare.err.contains("Zoë (Windows-1252)"),
                 qPrintable(bare.err));
        QCOMPARE(runDataTool({"show", f.tmp.path(), "Zoë"}).status, 1);
        QCOMPARE(files::entries(f.tmp.path()).size(), 2 * made.size());

        QCOMPARE(runDataTool({"show", f.tmp.path(), "Zoë (Windows-1252)"}).status, 0);
        QCOMPARE(runDataTool({"delete", f.tmp.path(), "Zoë (Windows-1252)"}).status, 0);
        QCOMPARE(f.files(), made); // the UTF-8 detective keeps every file
        QCOMPARE(files::entries(f.tmp.path()).size(), made.size());
        QCOMPARE(runDataTool({"list", f.tmp.path()}).out, QByteArray("Zo\xC3\xAB\n"));
        QCOMPARE(runDataTool({"show", f.tmp.path(), "Zoë"}).status, 0);
    }

    void exportIsTheDialogsFile()
    {
        // A detective with stored results, made by the library itself.
        auto p = f.registered();
        QVERIFY(p);
        tProgramData& d = *p;
        for (int day = 1; day <= 20; ++day) {
            tWortKatStat w;
            w.Stamp = SerialDate::fromDateTime(QDateTime(QDate(2004, 3, day), QTime(9, 30)));
            w.AskedPerLevel = {{4, 4, 0, 2}};
            w.CorrectPerLevel = {{3, 1, 0, quint16(day % 3)}};
            d.WortStatList.append(w);
            tTeleStat t;
            t.Mode = 2;
            t.Stamp = w.Stamp;
            t.Trials[3] = 2;
            t.Correct[3] = 1;
            d.TelStatList.append(t);
        }
        QVERIFY(d.SaveSessionResults(*d.CurrentUser));
        QVERIFY(d.SaveUserFile());

        const QStringList limits = {"--from", "05.03.2004", "--to", "10.03.2004"};
        for (const auto& [kind, code] :
             {std::pair{"search", ekWortBild}, {"sequence", ekTelMemo}}) {
            QByteArray expected;
            QVERIFY(d.exportResultsTo(expected, *d.CurrentUser, true, true, QDate(2004, 3, 5),
                                      QDate(2004, 3, 10), code));
            QCOMPARE(expected.count("\r\n"), 7);
            const QStringList args =
                QStringList{"export", f.tmp.path(), "Anna", "--kind", kind} + limits;
            const ToolRun out = runDataTool(args);
            QCOMPARE(out.status, 0);
            QCOMPARE(out.out, expected);
            QCOMPARE(runDataTool(args + QStringList{"--out", f.path("x.exp")}).status, 0);
            QCOMPARE(f.read("x.exp"), expected);
        }
        const ToolRun bad = runDataTool(
            {"export", f.tmp.path(), "Anna", "--kind", "search", "--from", "31.02.2004"});
        QCOMPARE(bad.status, 1);
        QCOMPARE(bad.err.trimmed(), QStringLiteral("Ungültige Datumsangabe"));
        QCOMPARE(runDataTool({"export", f.tmp.path(), "Anna"}).status, 1);
    }

    // The export never takes the place of the program's own files, and no --out
    // replaces a file its user may not write.
    void outRefusesFilesItMustNotReplace()
    {
        const QString dir = f.tmp.path();
        QCOMPARE(runDataTool({"register", dir, "Anna"}).status, 0);
        QCOMPARE(runDataTool({"register", dir, "Bert"}).status, 0);
        QVERIFY(f.write("BertWS.dat", "summary"));
        for (const QString& own : {"BertWS.dat", "anna.MNU", "BertTS_04_03_2.dat", "std.cfg"}) {
            const ToolRun run = runDataTool(
                {"export", dir, "Anna", "--kind", "search", "--out", f.path(own)});
            QCOMPARE(run.status, 1);
            QVERIFY2(run.err.contains("gehört zu den Daten des Programms"), qPrintable(run.err));
        }
        QCOMPARE(f.read("BertWS.dat"), QByteArray("summary"));
        QCOMPARE(runDataTool({"export", dir, "Anna", "--kind", "search", "--out",
                              f.path("BertWS.exp")})
                     .status,
                 0);

        // A read-only file in a folder everybody may write to, as an unprivileged user
        // (root may write anything).
        QTemporaryDir shared;
        QVERIFY(QFile::setPermissions(shared.path(), QFileDevice::Permissions(0x7777)));
        const QString source = shared.filePath("t.txt"), target = shared.filePath("t.cfg");
        QVERIFY(f.write("t.txt", "Tabelle: T\nZeile: |a|b|c|d\nZeile: |x|x|x|x\n"
                                 "Zeile: |a1|b1|c1|d1\nZeile: |a2|b2|c2|d2\nZeile: |a3|b3|c3|d3\n"));
        QVERIFY(QFile::copy(f.path("t.txt"), source));
        QFile ro(target);
        QVERIFY(ro.open(QIODevice::WriteOnly) && ro.write("old") == 3);
        ro.close();
        QVERIFY(QFile::setPermissions(source, QFileDevice::Permissions(0x4444)));
        QVERIFY(QFile::setPermissions(target, QFileDevice::Permissions(0x4444)));
        QProcess p;
        p.start("setpriv", {"--reuid=nobody", "--regid=nogroup", "--clear-groups",
                            qEnvironmentVariable("GF_INSTALL_DIR") + "/gripsfix-data",
                            "make-tables", source, target});
        QVERIFY(p.waitForFinished(60000));
        if (::geteuid() == 0) {
            QCOMPARE(p.exitCode(), 1);
            QVERIFY(QString::fromUtf8(p.readAllStandardError()).contains("Zugriff verweigert"));
            QCOMPARE(ro.open(QIODevice::ReadOnly) ? ro.readAll() : QByteArray(), "old");
        } else {
            qWarning("not root: the unprivileged run is not tried");
        }
        // A file that exists is not reported as missing when its folder takes no new file.
        const ToolRun proc = runDataTool({"make-tables", f.path("t.txt"), "/proc/version"});
        QCOMPARE(proc.status, 1);
        QVERIFY2(!proc.err.contains("nicht gefunden") && proc.err.contains("/proc"),
                 qPrintable(proc.err));
    }

    void makeTablesAndPrintThem()
    {
        QVERIFY(f.write(
            "std.txt",
            "Anzeigezeit: 900\nTabelle: Dinge\nZeile:  | Fahrzeug | Tier | Obst | Werkzeug\n"
            "Zeile:  | das | das | das | das\nZeile: 1 | Auto | Hund | Apfel | Hammer\n"
            "Zeile: 2 | Bus | Katze | Birne | S\xC3\xA4ge\nZeile: 3 | Zug | Maus | Kiwi | Zange\n"
            "Text: Ein Fall f\xC3\xBCr den Detektiv.\n"));
        const ToolRun made = runDataTool({"make-tables", f.path("std.txt"), f.path("std.cfg")});
        QVERIFY2(made.status == 0, qPrintable(made.err));
        const ToolRun printed = runDataTool({"tables", f.path("std.cfg")});
        QCOMPARE(printed.status, 0);
        QVERIFY(printed.out.contains("Zeile: 2 | Bus | Katze | Birne | S\xC3\xA4ge\n"));
        QVERIFY(printed.out.contains("Text: Ein Fall f\xC3\xBCr den Detektiv.\n"));
        QVERIFY(printed.out.contains("Anzeigezeit: 900\n"));
        // What is printed makes the same file again.
        QVERIFY(f.write("printed.txt", printed.out));
        QCOMPARE(runDataTool({"make-tables", f.path("printed.txt"), f.path("again.cfg")}).status,
                 0);
        QCOMPARE(f.read("again.cfg"), f.read("std.cfg"));

        // A refused source leaves no output file.
        QVERIFY(f.write("std.txt", "Tabelle: Klein\nZeile: |a|b\n"));
        const ToolRun refused = runDataTool({"make-tables", f.path("std.txt"), f.path("new.cfg")});
        QCOMPARE(refused.status, 1);
        QVERIFY(refused.err.contains("Zeile 1"));
        QVERIFY(!QFileInfo::exists(f.path("new.cfg")));
        QCOMPARE(runDataTool({"tables", f.path("std.txt")}).status, 1);

        // More tables than the loader takes are refused where they start to be too many.
        QByteArray many;
        for (int t = 0; t < 9000; ++t)
            many += "Tabelle: T\nZeile: |a|b|c|d\nZeile: |x|x|x|x\nZeile: 1|a|b|c|d\n"
                    "Zeile: 2|e|f|g|h\nZeile: 3|i|j|k|l\nZeile: 4|m|n|o|p\n";
        QVERIFY(f.write("many.txt", many));
        const ToolRun tooMany =
            runDataTool({"make-tables", f.path("many.txt"), f.path("many.cfg")});
        QCOMPARE(tooMany.status, 1);
        QVERIFY2(
            tooMany.err.contains("Fehler in Zeile 59135: die Tabellen werden größer als 64 MB"),
            qPrintable(tooMany.err));
        QVERIFY(!QFileInfo::exists(f.path("many.cfg")));
    }
};

QTEST_GUILESS_MAIN(TstDataTool)
#include "tst_datatool.moc"

// Printing the daily results through a real print system: a scheduler of the test's
// own with a PDF printer queue, which the test then makes refuse, stop, hang and vanish.
// Needs root and the scheduler, its clients and the PDF printer; skipped without them.

#include "exercises/results/SeqFeedback.h"
#include "exercises/results/TPrintDlg.h"
#include "exercises/results/TTagDlg.h"
#include "exercises/results/tKatFeedback.h"
#include "support/GuiFixture.h"
#include "support/Modal.h"
#include "toolkit/TPushButton.h"
#include "toolkit/TxMsgDlg.h"

#include <QApplication>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <unistd.h>

namespace gf::test {

namespace {

const QString kScheduler = QStringLiteral("/usr/sbin/cupsd");
const QString kPdfBackend = QStringLiteral("/usr/lib/cups/backend/cups-pdf");
const QString kPdfDriver = QStringLiteral("/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd");

// What is missing for the test, or empty.
QString missing()
{
    if (geteuid() != 0)
        return QStringLiteral("root (the PDF printer runs as root)");
    for (const QString& file : {kScheduler, kPdfBackend, kPdfDriver})
        if (!QFileInfo::exists(file))
            return file;
    for (const char* tool :
         {"lp", "lpstat", "lpadmin", "cupsreject", "cupsdisable", "cancel", "gs", "pdfinfo"})
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
            return QString::fromLatin1(tool);
    if (!QFileInfo(QStringLiteral("/etc/cups")).isWritable())
        return QStringLiteral("a writable /etc/cups");
    return QString();
}

bool run(const QString& program, const QStringList& args, QString* out = nullptr)
{
    QProcess p;
    p.start(program, args);
    const bool ok =
        p.waitForFinished(10000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    if (out)
        *out = QString::fromLocal8Bit(p.readAllStandardOutput());
    return ok;
}

} // namespace

class TstPrintCups : public QObject
{
    Q_OBJECT

    GuiContext env;
    QTemporaryDir root;
    QProcess scheduler;
    QString queue = QStringLiteral("GripsFixTest%1").arg(getpid());
    QString queueConf;

    bool schedulerUp()
    {
        return QTest::qWaitFor(
            [] {
                QString said;
                return run("lpstat", {"-r"}, &said) && said.startsWith("scheduler is running");
            },
            10000);
    }

    void startScheduler()
    {
        scheduler.start(kScheduler, {"-f", "-c", root.filePath("cupsd.conf"), "-s",
                                     root.filePath("cups-files.conf")});
        QVERIFY(scheduler.waitForStarted());
        QVERIFY2(schedulerUp(), "the test's own print scheduler did not start");
    }

    // Prints the page shown with "&Drucken" and answers every message with `answer`;
    // returns the milliseconds from the click until the window was live again.
    qint64 print(TTagDlg& dlg, int answer, QStringList& messages,
                 const std::function<void()>& beforeSending = {})
    {
        ScopedMessageHook hook(answer);
        ModalPlayer player;
        player.on<TPrintDlg>([&](TPrintDlg& d) {
            if (d.state() != TPrintDlg::Choosing)
                return;
            if (beforeSending)
                beforeSending();
            d.PrintBtn->click();
        });
        QElapsedTimer clock;
        clock.start();
        dlg.PrintBtn->click();
        const qint64 took = clock.elapsed();
        messages = hook.texts();
        return took;
    }

    QStringList outputFiles()
    {
        QStringList files;
        QDirIterator it(root.filePath("out"), {"*.pdf"}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext())
            files << it.next();
        return files;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(root.isValid());
        // The filters run as the print system's own user and must reach the spool.
        QFile::setPermissions(root.path(), QFile::Permissions(0x7755));
        for (const char* sub : {"spool", "tmp", "state", "cache", "out"})
            QVERIFY(QDir(root.path()).mkpath(sub));
        QVERIFY(run("chmod", {"1777", root.filePath("tmp"), root.filePath("out")}));
        const QString r = root.path();
        auto write = [](const QString& path, const QString& text) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            f.write(text.toUtf8());
        };
        write(root.filePath("cupsd.conf"),
              "Listen " + r +
                  "/cups.sock\nLogLevel warn\nBrowsing No\nWebInterface No\n"
                  "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
                  "<Policy default>\n  <Limit All>\n    Order deny,allow\n  </Limit>\n</Policy>\n");
        write(root.filePath("cups-files.conf"),
              "ServerRoot " + r + "\nRequestRoot " + r + "/spool\nTempDir " + r +
                  "/tmp\nStateDir " + r + "/state\nCacheDir " + r + "/cache\nErrorLog " + r +
                  "/error_log\nAccessLog " + r + "/access_log\nPageLog " + r +
                  "/page_log\nServerBin /usr/lib/cups\nDataDir /usr/share/cups\n"
                  "SystemGroup root\n");
        // The PDF printer reads the configuration named after its device.
        queueConf = "/etc/cups/cups-pdf-" + queue + ".conf";
        write(queueConf, "Out " + r + "/out\nAnonDirName " + r +
                             "/out\nUserUMask 0000\n"
                             "Label 0\nTitlePref 1\n");
        qputenv("CUPS_SERVER", (r + "/cups.sock").toLocal8Bit());
        startScheduler();
        QVERIFY(run("lpadmin", {"-p", queue, "-E", "-v", "cups-pdf:/" + queue, "-P", kPdfDriver}));
        QVERIFY(run("lpadmin", {"-d", queue}));
        setPrintAnswerMs(3000);
    }

    void cleanupTestCase()
    {
        setPrintAnswerMs(0);
        if (scheduler.state() != QProcess::NotRunning) {
            scheduler.terminate();
            scheduler.waitForFinished(5000);
        }
        QFile::remove(queueConf);
    }

    void aGoodJobComesOutAsOneNamedLandscapePage()
    {
        TTagDlg dlg(env.ctx);
        dlg.show();
        QStringList messages;
        const qint64 took = print(dlg, mrOk, messages);
        qInfo("working print system: %lld ms from \"Drucken\" to a live window", took);
        QVERIFY2(messages.isEmpty(), qPrintable(messages.join('|')));
        // Done when the queue is empty again.
        QVERIFY2(QTest::qWaitFor(
                     [this] {
                         QString pending;
                         return run("lpstat", {"-o", queue}, &pending) &&
                                pending.trimmed().isEmpty() && !outputFiles().isEmpty();
                     },
                     30000),
                 "no page came out of the PDF printer");
        QCOMPARE(outputFiles().size(), 1);
        const QString out = outputFiles().first();
        // The PDF printer names its file after the job, with its own escapes for the dashes.
        QVERIFY2(QFileInfo(out).fileName().startsWith("Grips-Fix_") && out.contains("Falke") &&
                     out.contains("Tagesergebnisse"),
                 qPrintable(out));
        QString info;
        QVERIFY(run("pdfinfo", {out}, &info));
        QVERIFY2(info.contains(QRegularExpression("Pages:\\s+1\\n")), qPrintable(info));
        QVERIFY2(info.contains(QRegularExpression("Page size:\\s+(595 x 842|842 x 595)")),
                 qPrintable(info));
    }

    // The queue refuses jobs, then it is stopped: each is said with the system's reason.
    void aRefusingOrStoppedQueueIsSaid()
    {
        TTagDlg dlg(env.ctx);
        dlg.show();
        QStringList messages;
        QVERIFY(run("cupsreject", {"-r", "Wartung", queue}));
        print(dlg, mrNo, messages);
        QVERIFY(run("cupsaccept", {queue}));
        QCOMPARE(messages.size(), 1);
        QVERIFY2(messages[0].startsWith(
                     QString("Der Drucker „%1“ nimmt keine Aufträge an (Wartung).").arg(queue)),
                 qPrintable(messages[0]));

        QVERIFY(run("cupsdisable", {"-r", "Papierstau", queue}));
        print(dlg, mrNo, messages);
        QVERIFY(run("cancel", {"-a", queue}));
        QVERIFY(run("cupsenable", {queue}));
        QCOMPARE(messages.size(), 1);
        QVERIFY2(messages[0].startsWith(
                     QString("Der Drucker „%1“ ist angehalten (Papierstau).").arg(queue)),
                 qPrintable(messages[0]));
    }

    // The scheduler ends while the printers are shown; then there is none at all.
    void aVanishedPrintSystemIsSaid()
    {
        TTagDlg dlg(env.ctx);
        dlg.show();
        QStringList messages;
        print(dlg, mrNo, messages, [this] {
            scheduler.terminate();
            scheduler.waitForFinished(10000);
        });
        QCOMPARE(messages.size(), 1);
        QVERIFY2(messages[0].startsWith(
                     QString("Die Seite konnte nicht an den Drucker „%1“").arg(queue)),
                 qPrintable(messages[0]));

        const qint64 took = print(dlg, mrCancel, messages);
        qInfo("no print system: %lld ms from \"Drucken\" to the message", took);
        QCOMPARE(messages.size(), 1);
        QVERIFY2(messages[0].startsWith("Es wurde kein Drucker gefunden.\n\rDie Seite wird als "
                                        "PDF-Datei gespeichert:\n\r"),
                 qPrintable(messages[0]));
    }
};

} // namespace gf::test

int main(int argc, char** argv)
{
    const QString lacking = gf::test::missing();
    if (!lacking.isEmpty()) {
        std::printf("SKIP: the real print system test needs %s (packages cups-daemon, "
                    "cups-client, printer-driver-cups-pdf, poppler-utils): skipped.\n",
                    qPrintable(lacking));
        return 77;
    }
    QApplication app(argc, argv);
    gf::test::TstPrintCups test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_printcups.moc"

// The print system's clients as the program reads them, played by small scripts on the
// PATH, and the PDF page every print starts from.

#include "platform/Printing.h"

#include <QElapsedTimer>
#include <QFile>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <QtTest>

namespace gf::test {

class TstPrinting : public QObject
{
    Q_OBJECT

    QTemporaryDir bin;
    QByteArray savedPath;

    // Puts a client script `name` with this body first on the PATH.
    void client(const QString& name, const QByteArray& body)
    {
        QFile f(bin.filePath(name));
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write("#!/bin/sh\n" + body + "\n");
        f.close();
        f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

private slots:
    void initTestCase()
    {
        savedPath = qgetenv("PATH");
        // Only the stand-ins: no real print system answers, even where one is installed.
        qputenv("PATH", bin.path().toLocal8Bit());
    }
    void cleanup()
    {
        QFile::remove(bin.filePath("lp"));
        QFile::remove(bin.filePath("lpstat"));
    }
    void cleanupTestCase() { qputenv("PATH", savedPath); }

    void printersAndTheDefaultAreRead()
    {
        client("lpstat", "printf 'system default destination: Buero\\n"
                         "Flur accepting requests since Mon 07 Dec 2026\\n"
                         "Buero not accepting requests since Mon 07 Dec 2026 -\\n"
                         "\\tWartung\\n'");
        const PrinterSearch s = makeCupsBackend(2000)->findPrinters();
        QVERIFY(s.systemFound && !s.timedOut);
        QCOMPARE(s.printers.size(), 2);
        QCOMPARE(s.printers[0].name, QString("Flur"));
        QVERIFY(!s.printers[0].isDefault);
        QCOMPARE(s.printers[1].name, QString("Buero"));
        QVERIFY(s.printers[1].isDefault);

        // A scheduler that is not running is no print system; one without queues is.
        client("lpstat", "echo 'lpstat: Scheduler is not running.' >&2; exit 1");
        QVERIFY(!makeCupsBackend(2000)->findPrinters().systemFound);
        client("lpstat", "echo 'lpstat: No destinations added.' >&2; exit 1");
        const PrinterSearch none = makeCupsBackend(2000)->findPrinters();
        QVERIFY(none.systemFound && none.printers.isEmpty());
    }

    void withoutClientsThereIsNoPrintSystem()
    {
        const PrinterSearch s = makeCupsBackend(2000)->findPrinters();
        QVERIFY(!s.systemFound && !s.timedOut && s.printers.isEmpty());
        QCOMPARE(makeCupsBackend(2000)->submit("Flur", "/x.pdf", "t").kind, PrintJobResult::Failed);
    }

    // A client stuck on a print server that does not answer is given up on in time.
    void aHangingClientIsGivenUpOn()
    {
        client("lpstat", "exec /bin/sleep 30");
        client("lp", "exec /bin/sleep 30");
        QElapsedTimer clock;
        clock.start();
        QVERIFY(makeCupsBackend(300)->findPrinters().timedOut);
        QCOMPARE(makeCupsBackend(300)->submit("Flur", "/x.pdf", "t").kind,
                 PrintJobResult::NoAnswer);
        QVERIFY2(clock.elapsed() < 3000, qPrintable(QString::number(clock.elapsed())));
    }

    void whatBecameOfAJobIsRead_data()
    {
        QTest::addColumn<QByteArray>("lp");
        QTest::addColumn<QByteArray>("lpstat");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("reason");
        const QByteArray taken = "echo \"request id is $2-12 (1 file(s))\"";
        const QByteArray enabled = "echo \"printer $2 is idle.  enabled since Mon 07 Dec\"";
        QTest::newRow("accepted") << taken << enabled << int(PrintJobResult::Accepted) << "";
        QTest::newRow("disabled")
            << taken
            << QByteArray("printf 'printer %s disabled since Mon 07 Dec 2026 -\\n\\tPapierstau\\n' "
                          "\"$2\"")
            << int(PrintJobResult::QueueStopped) << "Papierstau";
        QTest::newRow("refused")
            << QByteArray("echo \"lp: Destination \\\"$2\\\" is not accepting jobs.\" >&2; exit 1")
            << QByteArray("printf '%s not accepting requests since Mon -\\n\\tWartung\\n' \"$2\"")
            << int(PrintJobResult::Refused) << "Wartung";
        QTest::newRow("gone") << QByteArray(
                                     "echo 'lp: The printer or class does not exist.' >&2; exit 1")
                              << enabled << int(PrintJobResult::Failed)
                              << "The printer or class does not exist.";
    }
    void whatBecameOfAJobIsRead()
    {
        QFETCH(QByteArray, lp);
        QFETCH(QByteArray, lpstat);
        QFETCH(int, kind);
        QFETCH(QString, reason);
        // The stand-in lp records the title it was given.
        client("lp", "echo \"$4\" > " + bin.filePath("title").toLocal8Bit() + "\n" + lp);
        client("lpstat", lpstat);
        const PrintJobResult r =
            makeCupsBackend(2000)->submit("Flur", "/tmp/x.pdf", "Grips-Fix – Falke – Test");
        QCOMPARE(int(r.kind), kind);
        QCOMPARE(r.reason, reason);
        if (kind == PrintJobResult::Accepted)
            QCOMPARE(r.jobId, QString("Flur-12"));
        QFile title(bin.filePath("title"));
        QVERIFY(title.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(title.readAll()).trimmed(), QString("Grips-Fix – Falke – Test"));
    }

    void theSavedPageIsA4LandscapeAndNamed()
    {
        QCOMPARE(printJobTitle(" Falke ", "Tagesergebnisse", QDate(2026, 3, 7)),
                 QString("Grips-Fix – Falke – Tagesergebnisse – 07.03.2026"));
        QCOMPARE(printJobTitle("", "Ergebnisse", QDate(2026, 3, 7)),
                 QString("Grips-Fix – - – Ergebnisse – 07.03.2026"));

        QTemporaryDir dir;
        // A name with a slash must not point into a folder that does not exist.
        const QString pdf = pdfFileFor(dir.path(), "Grips-Fix – A/B – Test");
        QCOMPARE(pdf, dir.filePath("Grips-Fix – A_B – Test.pdf"));
        {
            const std::unique_ptr<QPdfWriter> page = createPdfWriter(pdf, "Grips-Fix – A/B");
            QVERIFY2(page->width() > page->height(), "pages are landscape");
            QPainter painter;
            QVERIFY(painter.begin(page.get()));
            painter.drawText(QRect(0, 0, page->width(), page->height()), Qt::AlignCenter,
                             "Grips-Fix Prüfer: ÄÖÜ äöü ß");
            QVERIFY(painter.end());
        }
        QFile file(pdf);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY(bytes.startsWith("%PDF"));
        QVERIFY(bytes.contains("/MediaBox [0 0 842")); // A4 lying
        QCOMPARE(pdfFileFor(dir.path(), "Grips-Fix – A/B – Test"),
                 dir.filePath("Grips-Fix – A_B – Test (2).pdf"));
    }
};

} // namespace gf::test

QTEST_MAIN(gf::test::TstPrinting)
#include "tst_printing.moc"

// Printing through a print system that hangs, refuses, stops or fails, with a fake
// print backend: the window stays live and every failure is said.

#include "exercises/results/SeqFeedback.h"
#include "exercises/results/TPrintDlg.h"
#include "exercises/results/TTagDlg.h"
#include "exercises/results/tKatFeedback.h"
#include "support/GuiFixture.h"
#include "support/Modal.h"
#include "toolkit/TPushButton.h"
#include "toolkit/TxMsgDlg.h"

#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPaintEngine>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <condition_variable>
#include <mutex>

namespace gf::test {

namespace {

// A paint device whose engine fails at begin or at end.
class BrokenEngine final : public QPaintEngine
{
public:
    bool failBegin = false;
    bool begin(QPaintDevice*) override { return !failBegin; }
    bool end() override { return false; }
    void updateState(const QPaintEngineState&) override {}
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
    void drawTextItem(const QPointF&, const QTextItem&) override {}
    void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
    Type type() const override { return User; }
};

class BrokenDevice final : public QPaintDevice
{
public:
    explicit BrokenDevice(bool failBegin) { m_engine.failBegin = failBegin; }
    QPaintEngine* paintEngine() const override { return &m_engine; }

protected:
    int metric(PaintDeviceMetric m) const override
    {
        // An A4 page lying, at 300 dpi.
        switch (m) {
        case PdmWidth:
            return 3508;
        case PdmHeight:
            return 2480;
        case PdmWidthMM:
            return 297;
        case PdmHeightMM:
            return 210;
        case PdmDepth:
            return 32;
        default:
            return m >= PdmDpiX && m <= PdmPhysicalDpiY ? 300 : QPaintDevice::metric(m);
        }
    }

private:
    mutable BrokenEngine m_engine;
};

class FakeBackend final : public PrintBackend
{
public:
    enum Page
    {
        Pdf,
        FailBegin,
        FailEnd
    };

    PrinterSearch search{true, false, {{"Flur", false}, {"Stationsdrucker", true}}};
    PrintJobResult job{PrintJobResult::Accepted, QString(), QStringLiteral("Flur-7")};
    bool hangSearch = false;
    bool hangSubmit = false;
    Page page = Pdf;

    // What reached the print system.
    QString printer, title;
    QByteArray pdf;
    int submitted = 0;

    PrinterSearch findPrinters() override
    {
        waitIf(hangSearch);
        return search;
    }

    PrintJobResult submit(const QString& p, const QString& file, const QString& t) override
    {
        {
            QFile f(file);
            f.open(QIODevice::ReadOnly);
            std::lock_guard lock(m_mutex);
            printer = p;
            title = t;
            pdf = f.readAll();
            ++submitted;
        }
        waitIf(hangSubmit);
        return job;
    }

    std::unique_ptr<QPaintDevice> makePage(const QString& path, const QString& t) override
    {
        if (page == Pdf)
            return PrintBackend::makePage(path, t);
        return std::make_unique<BrokenDevice>(page == FailBegin);
    }

    // Lets every hanging call return, as a print server that wakes up again.
    void release()
    {
        std::lock_guard lock(m_mutex);
        m_released = true;
        m_wake.notify_all();
    }

private:
    void waitIf(bool hang)
    {
        std::unique_lock lock(m_mutex);
        if (hang)
            m_wake.wait(lock, [this] { return m_released; });
    }

    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_released = false;
};

} // namespace

class TstPrintDlg : public QObject
{
    Q_OBJECT

    GuiContext env;
    QTemporaryDir home;
    std::shared_ptr<FakeBackend> backend;

    // Prints the daily results page with "&Drucken"; `onDialog` acts on the open print
    // dialog (every few milliseconds while it is open).
    void print(TTagDlg& dlg, std::function<void(TPrintDlg&)> onDialog = {})
    {
        ModalPlayer player;
        player.on<TPrintDlg>([&](TPrintDlg& d) {
            if (onDialog)
                onDialog(d);
            else if (d.state() == TPrintDlg::Choosing)
                d.PrintBtn->click();
        });
        dlg.PrintBtn->click();
    }

    static bool isLandscapeA4(const QByteArray& pdf)
    {
        return pdf.contains("/MediaBox [0 0 842.000000 595.000000]") &&
               pdf.count("/Type /Page\n") == 1;
    }

private slots:
    void initTestCase()
    {
        // The PDF files land in the documents folder under the home folder.
        qputenv("HOME", home.path().toLocal8Bit());
        setPrintAnswerMs(400);
    }

    void init()
    {
        backend = std::make_shared<FakeBackend>();
        setPrintBackend(backend);
    }

    void cleanup()
    {
        backend->release();
        setPrintBackend(nullptr);
    }

    void cleanupTestCase() { setPrintAnswerMs(0); }

    void aGoodJobIsNamedAndSilent()
    {
        TTagDlg dlg(env.ctx);
        dlg.show();
        ScopedMessageHook messages;
        QString preselected;
        print(dlg, [&](TPrintDlg& d) {
            if (d.state() != TPrintDlg::Choosing)
                return;
            preselected = d.PrinterList->currentItem()->text();
            shot(&d, "printdlg_choose");
            d.PrintBtn->click();
        });
        QVERIFY2(messages.isEmpty(), qPrintable(messages.texts().join('|')));
        QCOMPARE(preselected, QString("Stationsdrucker  (Standarddrucker)"));
        QCOMPARE(backend->submitted, 1);
        QCOMPARE(backend->printer, QString("Stationsdrucker"));
        const QString date = env.data.clock().now().date().toString("dd.MM.yyyy");
        QCOMPARE(backend->title,
                 "Grips-Fix – Falke – Tagesergebnisse Wort- und Bild-Fahndung – " + date);
        QVERIFY(isLandscapeA4(backend->pdf));
        QCOMPARE(dlg.KatFeed->Color(), QColor(Qt::black));
    }

    // A print server that accepts connections and never answers, first while the
    // printers are asked for, then while the page is sent.
    void aHungPrintSystemNeverFreezesTheWindow_data()
    {
        QTest::addColumn<bool>("whileSending");
        QTest::newRow("search") << false;
        QTest::newRow("job") << true;
    }
    void aHungPrintSystemNeverFreezesTheWindow()
    {
        QFETCH(bool, whileSending);
        backend->hangSearch = !whileSending;
        backend->hangSubmit = whileSending;
        TTagDlg dlg(env.ctx);
        dlg.show();
        int ticks = 0;
        QTimer ticker;
        connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
        ticker.start(20);
        ScopedMessageHook messages(mrNo);
        QElapsedTimer clock;
        clock.start();
        QString status;
        print(dlg, [&](TPrintDlg& d) {
            if (d.state() == TPrintDlg::Choosing)
                d.PrintBtn->click();
            else if (clock.elapsed() > 200 && status.isEmpty()) {
                status = d.StatusLabel->text();
                shot(&d, whileSending ? "printdlg_sending" : "printdlg_searching");
            }
        });
        const qint64 took = clock.elapsed();
        QVERIFY2(took < 2000, qPrintable(QString::number(took)));
        // 400 ms of waiting at 20 ms a tick: the window lived all the time.
        QVERIFY2(ticks >= 12, qPrintable(QString::number(ticks)));
        QVERIFY(status.startsWith(whileSending ? "Die Seite wird an den Drucker „Stationsdrucker“"
                                               : "Drucker werden gesucht …"));
        QCOMPARE(messages.count(), 1);
        QVERIFY(messages.last().text.startsWith("Der Drucker antwortet nicht."));
        QCOMPARE(messages.last().buttons, btn::YesNo);
        QCOMPARE(backend->submitted, whileSending ? 1 : 0);
    }

    // Each way a print system can fail is said, naming the printer; "Ja" saves the page
    // as a PDF file instead and says where it went.
    void everyFailureIsSaid_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("reason");
        QTest::addColumn<QString>("said");
        QTest::newRow("refused") << int(PrintJobResult::Refused) << "Wartung"
                                 << "Der Drucker „Stationsdrucker“ nimmt keine Aufträge an "
                                    "(Wartung).";
        QTest::newRow("stopped") << int(PrintJobResult::QueueStopped) << "Papierstau"
                                 << "Der Drucker „Stationsdrucker“ ist angehalten (Papierstau).";
        QTest::newRow("failed") << int(PrintJobResult::Failed)
                                << "The printer or class does not exist."
                                << "Die Seite konnte nicht an den Drucker „Stationsdrucker“\n\r"
                                   "gesendet werden (The printer or class does not exist.).";
    }
    void everyFailureIsSaid()
    {
        QFETCH(int, kind);
        QFETCH(QString, reason);
        QFETCH(QString, said);
        backend->job = {PrintJobResult::Kind(kind), reason, QString()};
        TTagDlg dlg(env.ctx);
        dlg.show();
        ScopedMessageHook messages;
        bool screenColours = true;
        messages.setHandler([&](const ScopedMessageHook::Message& m) {
            screenColours = screenColours && dlg.KatFeed->Color() == QColor(Qt::black);
            return m.buttons == btn::YesNo ? mrYes : mrOk;
        });
        print(dlg);
        QCOMPARE(messages.count(), 2);
        QVERIFY2(messages.texts()[0].startsWith(said), qPrintable(messages.texts()[0]));
        QVERIFY(screenColours);
        QVERIFY(messages.texts()[1].startsWith("Die Seite wurde als PDF-Datei gespeichert:\n\r"));
        const QString file = messages.texts()[1].section("\n\r", 1).remove("\n\r");
        QVERIFY2(file.startsWith(QDir::toNativeSeparators(home.path())), qPrintable(file));
        QFile pdf(file);
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        QVERIFY(isLandscapeA4(pdf.readAll()));
        QVERIFY(QFile::remove(file));
    }

    void aPageThatCannotBeDrawnIsNotSent_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<QByteArray>("tmp");
        QTest::addColumn<QString>("said");
        QTest::newRow("begin") << int(FakeBackend::FailBegin) << QByteArray()
                               << "Fehler: Die Seite kann nicht angelegt werden";
        QTest::newRow("end") << int(FakeBackend::FailEnd) << QByteArray()
                             << "Fehler: Die Seite konnte nicht fertig gezeichnet werden";
        QTest::newRow("no temporary folder")
            << int(FakeBackend::Pdf) << QByteArray("/nonexistent/gripsfix")
            << "Fehler: Die Seite kann nicht angelegt werden";
    }
    void aPageThatCannotBeDrawnIsNotSent()
    {
        QFETCH(int, page);
        QFETCH(QByteArray, tmp);
        QFETCH(QString, said);
        backend->page = FakeBackend::Page(page);
        const QByteArray savedTmp = qgetenv("TMPDIR");
        if (!tmp.isEmpty())
            qputenv("TMPDIR", tmp);
        TTagDlg dlg(env.ctx);
        dlg.show();
        ScopedMessageHook messages;
        print(dlg);
        qputenv("TMPDIR", savedTmp);
        QCOMPARE(messages.count(), 1);
        QVERIFY2(messages.last().text.contains(said), qPrintable(messages.last().text));
        QVERIFY(messages.last().text.contains("„Stationsdrucker“"));
        QCOMPARE(messages.last().kind, int(mkFehlermeldung));
        QCOMPARE(backend->submitted, 0);
        QCOMPARE(dlg.SeqFeed->Color(), QColor(Qt::black));
    }

    // No print system, or one without printers: the page goes into a PDF file, and the
    // trainee is told so before and after; a second page does not overwrite the first.
    void withoutPrintersThePageIsSavedAsPdf()
    {
        backend->search = {false, false, {}};
        TTagDlg dlg(env.ctx);
        dlg.show();
        ScopedMessageHook messages;
        QStringList files;
        for (int i = 0; i < 2; ++i) {
            print(dlg);
            QCOMPARE(messages.count(), 2 * (i + 1));
            const QString before = messages.texts()[2 * i], after = messages.texts()[2 * i + 1];
            QVERIFY2(before.startsWith("Es wurde kein Drucker gefunden.\n\rDie Seite wird als "
                                       "PDF-Datei gespeichert:\n\r"),
                     qPrintable(before));
            QCOMPARE(after.section("\n\r", 1), before.section("\n\r", 2));
            files << before.section("\n\r", 2).remove("\n\r");
            QVERIFY(QFileInfo(files.last()).size() > 2000);
        }
        QVERIFY(files[0] != files[1]);
        QVERIFY2(files[1].endsWith(" (2).pdf"), qPrintable(files.join('|')));
        QVERIFY(QFileInfo(files[0]).fileName().startsWith("Grips-Fix – Falke – Tagesergebnisse"));

        // "Abbrechen" saves nothing.
        messages.clear();
        messages.answer(mrCancel);
        print(dlg);
        QCOMPARE(messages.count(), 1);
        QVERIFY(!QFileInfo::exists(files[1].replace(" (2)", " (3)")));
    }

    // Every message about printing, in the message box on both screen sizes: its lines
    // are short enough that the box needs neither the whole width nor the whole height.
    void theMessagesFitOnTheScreen()
    {
        TTagDlg dlg(env.ctx);
        dlg.show();
        ScopedMessageHook messages(mrNo);
        backend->search.timedOut = true;
        print(dlg);
        backend->search.timedOut = false;
        for (auto kind : {PrintJobResult::NoAnswer, PrintJobResult::Refused,
                          PrintJobResult::QueueStopped, PrintJobResult::Failed}) {
            backend->job = {kind, kind == PrintJobResult::QueueStopped ? "Papierstau" : "", ""};
            print(dlg);
        }
        backend->page = FakeBackend::FailBegin;
        print(dlg);
        backend->page = FakeBackend::Pdf;
        backend->search.printers.clear();
        messages.setDefaultAnswer(mrOk);
        print(dlg);
        QCOMPARE(messages.count(), 8);

        for (const QSize screen : {QSize(800, 600), QSize(1024, 768)}) {
            for (int i = 0; i < messages.count(); ++i) {
                const auto& m = messages.messages()[i];
                TxMsgDlg box;
                box.prepare(m.text, m.kind, m.buttons, screen);
                // A file's name may take the whole width; it wraps.
                QVERIFY2(box.width() < screen.width() || m.text.contains(".pdf"),
                         qPrintable(m.text));
                QVERIFY(box.height() < screen.height());
                shot(&box, QString("printmsg_%1_%2").arg(screen.width()).arg(i));
            }
            backend->search.printers = {{"Flur", false}, {"Stationsdrucker", true}};
            env.ctx.FontFactor = screen.width() / 800.0;
            print(dlg, [&](TPrintDlg& d) {
                if (d.state() != TPrintDlg::Choosing)
                    return;
                QVERIFY(d.width() < screen.width() && d.height() < screen.height());
                shot(&d, QString("printdlg_%1").arg(screen.width()));
                d.reject();
            });
            env.ctx.FontFactor = 1.0;
        }
    }
};

} // namespace gf::test

QTEST_MAIN(gf::test::TstPrintDlg)
#include "tst_printdlg.moc"

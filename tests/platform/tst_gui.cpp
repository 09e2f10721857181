#include "platform/Fonts.h"
#include "platform/PlatformDialogs.h"
#include "platform/Printing.h"

#include <QFile>
#include <QFontInfo>
#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>
#include <QtTest>

using namespace gf;

class TestGui : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { RegisterFontSubstitutes(); }

    void cleanup() { SetPrintTargetForTests(QString()); }

    void windowFontsResolveToTheirFreeTwins_data()
    {
        QTest::addColumn<QString>("asked");
        QTest::addColumn<QString>("twin");
        QTest::newRow("Arial") << "Arial"
                               << "Liberation Sans";
        QTest::newRow("Comic Sans MS") << "Comic Sans MS"
                                       << "Comic Neue";
        QTest::newRow("Courier New") << "Courier New"
                                     << "Liberation Mono";
    }
    void windowFontsResolveToTheirFreeTwins()
    {
        QFETCH(QString, asked);
        QFETCH(QString, twin);
        QFont font(asked);
        font.setPixelSize(13);
        QCOMPARE(QFontInfo(font).family(), twin);
        QFont direct(twin);
        direct.setPixelSize(13);
        const int width = QFontMetrics(font).horizontalAdvance("XXX");
        QCOMPARE(width, QFontMetrics(direct).horizontalAdvance("XXX"));
        qInfo("\"XXX\" in %s at 13 px: %d px", qPrintable(asked), width);
    }

    void aPageIsPrintedToPdf()
    {
        QTemporaryDir dir;
        const QString pdf = dir.filePath("Ergebnisse.pdf");
        SetPrintTargetForTests(pdf);
        const std::unique_ptr<QPrinter> printer = ChoosePrinter(nullptr);
        QVERIFY(printer);
        const QRect page = printer->pageLayout().paintRectPixels(printer->resolution());
        QVERIFY2(page.width() > page.height(), "pages are landscape");

        QPainter painter;
        QVERIFY(painter.begin(printer.get()));
        const int w = page.width(), h = page.height();
        QFont font("Arial");
        font.setPointSize(14);
        font.setBold(true);
        painter.setFont(font);
        painter.drawText(QRect(0, 0, w, h / 8), Qt::AlignCenter,
                         "Grips-Fix Prüfer, Tagesergebnisse: ÄÖÜ äöü ß");
        painter.setPen(QPen(Qt::black, 8));
        painter.drawRect(w / 8, h / 8, w * 3 / 4, h * 3 / 4);
        painter.drawLine(w / 8, h * 7 / 8, w * 7 / 8, h / 8);
        painter.setBrush(QColor(42, 101, 154));
        painter.drawEllipse(QPoint(w / 2, h / 2), h / 6, h / 6);
        QVERIFY(painter.end());

        QFile file(pdf);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY(bytes.startsWith("%PDF"));
        QVERIFY2(bytes.size() > 2000, qPrintable(QString::number(bytes.size())));
        QVERIFY(bytes.contains("/MediaBox [0 0 842")); // A4 lying
        if (qEnvironmentVariableIsSet("GF_KEEP_PDF"))
            QFile::copy(pdf, qEnvironmentVariable("GF_KEEP_PDF"));
    }

    void withoutAHookNoPrintDialogBlocks()
    {
        // No hook on the offscreen platform: nothing blocks, nothing prints.
        QVERIFY(!ChoosePrinter(nullptr));
    }

    void scriptedDialogsAnswerAndRecord()
    {
        {
            ScriptedDialogs dialogs;
            dialogs.inputAnswers.append({"Sherlock", true});
            dialogs.saveAnswers.append("/tmp/x.exp");

            bool ok = false;
            QCOMPARE(InputBox("Neuer Detektiv:", "Name:", "", &ok), QString("Sherlock"));
            QVERIFY(ok);
            // Queue empty: cancelled, the default comes back.
            QCOMPARE(InputBox("Neuer Detektiv:", "Name:", "vorher", &ok), QString("vorher"));
            QVERIFY(!ok);
            QCOMPARE(dialogs.inputCalls.size(), 2);
            QCOMPARE(dialogs.inputCalls[1].caption, QString("Neuer Detektiv:"));
            QCOMPARE(dialogs.inputCalls[1].def, QString("vorher"));

            PlainMessage("Kein User ausgewählt");
            QCOMPARE(dialogs.plainMessages, QStringList{"Kein User ausgewählt"});

            QCOMPARE(SaveFileName(nullptr, "Export", "/daten/Anna.exp", "*.exp", "exp"),
                     QString("/tmp/x.exp"));
            QCOMPARE(SaveFileName(nullptr, "Export", "/daten/", "*.exp", "exp"), QString());
            QCOMPARE(dialogs.saveCalls.size(), 2);
            QCOMPARE(dialogs.saveCalls[0].proposed, QString("/daten/Anna.exp"));
            QCOMPARE(dialogs.saveCalls[0].defaultSuffix, QString("exp"));
        }
        // Hooks gone: on the offscreen platform nothing may block.
        bool ok = true;
        QCOMPARE(InputBox("c", "p", "d", &ok), QString("d"));
        QVERIFY(!ok);
        PlainMessage("niemand liest das");
        QCOMPARE(SaveFileName(nullptr, "c", "/", "*", "exp"), QString());
    }
};

QTEST_MAIN(TestGui)
#include "tst_gui.moc"

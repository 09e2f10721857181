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

namespace gf::test {

class TstGui : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { registerFontSubstitutes(); }

    void cleanup() { setPrintTargetForTests(QString()); }

    // The program asks for its window fonts by name; each must land on its metric twin.
    void windowFontsResolveToTheirFreeTwins()
    {
        for (const auto& [asked, twin] : {std::pair{"Arial", "Liberation Sans"},
                                          {"Comic Sans MS", "Comic Neue"},
                                          {"Courier New", "Liberation Mono"}}) {
            QFont font(asked), direct(twin);
            font.setPixelSize(13);
            direct.setPixelSize(13);
            QCOMPARE(QFontInfo(font).family(), QString(twin));
            QCOMPARE(QFontMetrics(font).horizontalAdvance("XXX"),
                     QFontMetrics(direct).horizontalAdvance("XXX"));
        }
    }

    void aPageIsPrintedToPdf()
    {
        // No hook on the offscreen platform: nothing blocks, nothing prints.
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("print dialog without"));
        QVERIFY(!choosePrinter(nullptr));

        QTemporaryDir dir;
        const QString pdf = dir.filePath("Ergebnisse.pdf");
        setPrintTargetForTests(pdf);
        const std::unique_ptr<QPrinter> printer = choosePrinter(nullptr);
        QVERIFY(printer);
        const QRect page = printer->pageLayout().paintRectPixels(printer->resolution());
        QVERIFY2(page.width() > page.height(), "pages are landscape");
        QPainter painter;
        QVERIFY(painter.begin(printer.get()));
        painter.setFont(QFont("Arial", 14));
        painter.drawText(page, Qt::AlignCenter, "Grips-Fix Prüfer, Tagesergebnisse: ÄÖÜ äöü ß");
        painter.setBrush(QColor(42, 101, 154));
        painter.drawEllipse(page.center(), page.height() / 6, page.height() / 6);
        QVERIFY(painter.end());

        QFile file(pdf);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY(bytes.startsWith("%PDF"));
        QVERIFY2(bytes.size() > 2000, qPrintable(QString::number(bytes.size())));
        QVERIFY(bytes.contains("/MediaBox [0 0 842")); // A4 lying
    }

    void scriptedDialogsAnswerAndRecord()
    {
        bool ok = false;
        {
            ScriptedDialogs dialogs;
            dialogs.inputAnswers.append({"Sherlock", true});
            QCOMPARE(inputBox("Neuer Detektiv:", "Name:", "", &ok), QString("Sherlock"));
            QVERIFY(ok);
            // Queue empty: cancelled, the default comes back.
            QCOMPARE(inputBox("Neuer Detektiv:", "Name:", "vorher", &ok), QString("vorher"));
            QVERIFY(!ok);
            QCOMPARE(dialogs.inputCalls.size(), 2);
            QCOMPARE(saveFileName(nullptr, "Export", "/daten/Anna.exp", "*.exp", "exp"), QString());
            QCOMPARE(dialogs.saveCalls[0].proposed, QString("/daten/Anna.exp"));
        }
        // Hooks gone: on the offscreen platform nothing may block.
        for (const char* what : {"input box", "plain message", "save dialog"})
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QString("%1 without").arg(what)));
        ok = true;
        QCOMPARE(inputBox("c", "p", "d", &ok), QString("d"));
        QVERIFY(!ok);
        showPlainMessage("niemand liest das");
        QCOMPARE(saveFileName(nullptr, "c", "/", "*", "exp"), QString());
    }
};

} // namespace gf::test

QTEST_MAIN(gf::test::TstGui)
#include "tst_gui.moc"

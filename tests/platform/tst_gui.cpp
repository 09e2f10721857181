#include "platform/Fonts.h"
#include "platform/PlatformDialogs.h"

#include <QFile>
#include <QFontInfo>
#include <QFontMetrics>
#include <QPainter>
#include <QTemporaryDir>
#include <QtTest>

using namespace gf;

namespace gf::test {

class TstGui : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { registerFontSubstitutes(); }

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

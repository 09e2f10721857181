// The program's message box (lines, geometry, keys, answers), its test hook, and the
// help window.
#include "core/data/MessageSink.h"
#include "core/data/ProgramData.h"
#include "platform/Fonts.h"
#include "toolkit/AppContext.h"
#include "toolkit/TBaseDlg.h"
#include "toolkit/THelpWin.h"
#include "toolkit/TPushButton.h"
#include "toolkit/TxMsgDlg.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <functional>

using namespace gf;

namespace gf::test {

namespace {

// Runs xMessageDlg with the real box; act gets the open box once it is modal.
int runBox(const QString& text, int kind, int buttons, std::function<void(TxMsgDlg*)> act)
{
    bool acted = false;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<TxMsgDlg*>(QApplication::activeModalWidget());
        if (!box)
            return;
        acted = true;
        act(box);
    });
    const int result = xMessageDlg(text, kind, buttons, 0);
    return acted ? result : -1;
}

} // namespace

class TestMsgDlg : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { registerFontSubstitutes(); }

    void splitLines_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("pair splits") << "ab\n\rcd" << QStringList{"ab", "cd"};
        QTest::newRow("lone LF dropped") << "ab\ncd" << QStringList{"abcd"};
        QTest::newRow("lone CR stays") << "ab\rcd" << QStringList{"ab\rcd"};
        QTest::newRow("CR LF is not a pair") << "ab\r\ncd" << QStringList{"ab\rcd"};
        QTest::newRow("trailing pair") << "ab\n\r" << QStringList{"ab", ""};
        QTest::newRow("blank line") << "a\n\r\n\rb" << QStringList{"a", "", "b"};
        QTest::newRow("LF before pair") << "a\n\n\rb" << QStringList{"a", "b"};
        const QString full(msgbox::MaxChars, u'x');
        QTest::newRow("stops at the limit") << full + "\n\rtail" << QStringList{full};
    }

    void splitLines()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, lines);
        QCOMPARE(msgbox::splitLines(text), lines);
    }

    void geometryOfTheRule()
    {
        // Ja/Nein and a 300-pixel line: max(300, 264) + 250
        msgbox::Geometry g = msgbox::layout(300, 24, 2, 2, {800, 600});
        QCOMPARE(g.window.width(), 550);
        QCOMPARE(g.window.height(), (24 + 3) * 2 + 200);
        QCOMPARE(g.window.left(), (800 - 550) / 2);
        QCOMPARE(g.window.top(), (600 - 254) / 2);
        // slot (550-60)/2 = 245, button 122 -> at least 130, gap (245-130)/2 = 57
        QCOMPARE(g.buttonWidth, 130);
        QCOMPARE(g.buttonLefts, (QList<int>{30 + 57, 30 + 57 + 244}));

        // a short text with one button: the buttons' minimum decides the width
        g = msgbox::layout(40, 24, 1, 1, {800, 600});
        QCOMPARE(g.window.width(), 132 + 250);
        QCOMPARE(g.buttonWidth, (382 - 60) / 2); // 161, within 130..200
        QCOMPARE(g.buttonLefts.first(), 30 + (322 - 161) / 2);

        // wider and taller than the screen: pinned to its edges
        g = msgbox::layout(2000, 24, 40, 3, {1024, 768});
        QCOMPARE(g.window, QRect(0, 0, 1024, 768));
    }

    void buttonsNeverOverlap()
    {
        for (QSize screen : {QSize(800, 600), QSize(1024, 768), QSize(640, 480)})
            for (int widest : {0, 1, 300, 700, 5000})
                for (int n = 1; n <= 8; ++n) {
                    const msgbox::Geometry g = msgbox::layout(widest, 24, 3, n, screen);
                    QVERIFY(QRect(QPoint(0, 0), screen).contains(g.window));
                    QCOMPARE(g.buttonLefts.size(), n);
                    for (int k = 0; k < n; ++k) {
                        QVERIFY(g.buttonLefts[k] >= 0);
                        QVERIFY(g.buttonLefts[k] + g.buttonWidth <= g.window.width());
                        if (k > 0)
                            QVERIFY2(g.buttonLefts[k] >= g.buttonLefts[k - 1] + g.buttonWidth,
                                     qPrintable(QStringLiteral("w=%1 n=%2").arg(widest).arg(n)));
                    }
                }
    }

    void boxShowsKindAndButtons()
    {
        TxMsgDlg box;
        box.prepare(QStringLiteral("Eins\n\rZwei"), mkBitteBestaetigen, btn::YesNoCancel,
                    {800, 600});
        QCOMPARE(box.headingText(), QStringLiteral("  Bitte bestätigen Sie: "));
        QVERIFY(box.bnYes->isVisibleTo(&box) && box.bnNo->isVisibleTo(&box) &&
                box.bnCancel->isVisibleTo(&box));
        QVERIFY(!box.bnOK->isVisibleTo(&box) && !box.bnHelp->isVisibleTo(&box));
        // table order left to right
        QVERIFY(box.bnYes->x() < box.bnNo->x() && box.bnNo->x() < box.bnCancel->x());
        QCOMPARE(box.Memo->toPlainText(), QStringLiteral("Eins\nZwei"));

        // no buttons asked for: OK alone
        box.prepare(QStringLiteral("x"), mkHinweis, 0, {800, 600});
        QVERIFY(box.bnOK->isVisibleTo(&box) && !box.bnYes->isVisibleTo(&box));
    }

    void keysAndClicks()
    {
        const auto press = [](int buttons, Qt::Key key) {
            return runBox("Frage?", mkBitteBestaetigen, buttons,
                          [key](TxMsgDlg* b) { QTest::keyClick(b, key); });
        };
        // Escape never answers Ja, whatever the box offers
        for (int buttons : {btn::YesNo, btn::OK, btn::YesNoCancel})
            QCOMPARE(press(buttons, Qt::Key_Escape), int(mrCancel));
        // Enter presses the default button: Ja in a Ja/Nein box, OK where there is one
        QCOMPARE(press(btn::YesNo, Qt::Key_Return), int(mrYes));
        QCOMPARE(press(btn::Yes | btn::OK, Qt::Key_Enter), int(mrOk));
        QCOMPARE(runBox("Frage?", mkBitteBestaetigen, btn::YesNoCancel,
                        [](TxMsgDlg* b) { QTest::mouseClick(b->bnNo, Qt::LeftButton); }),
                 int(mrNo));
        // "Hilfe" leaves the box open
        QCOMPARE(runBox("Hilfe?", mkHinweis, btn::OK | btn::Help,
                        [](TxMsgDlg* b) {
                            QTest::mouseClick(b->bnHelp, Qt::LeftButton);
                            QVERIFY(b->isVisible());
                            QTest::mouseClick(b->bnOK, Qt::LeftButton);
                        }),
                 int(mrOk));
    }

    void failedSaveOffersRetryAndGoingOnByKeyboard()
    {
        const QString text = QStringLiteral("Das Ergebnis konnte nicht gespeichert werden.\n\r"
                                            "Der Datenträger ist voll.");
        bool fits = true, retryDefault = true;
        const auto press = [&](Qt::Key key, Qt::KeyboardModifiers mods, const QString& other) {
            QTimer::singleShot(0, [&] {
                auto* box = qobject_cast<TxMsgDlg*>(QApplication::activeModalWidget());
                if (!box)
                    return;
                // The long caption fits its button; Retry is the default.
                QString caption = box->bnIgnore->text();
                caption.remove(u'&');
                fits = fits && box->bnIgnore->fontMetrics().horizontalAdvance(caption) <
                                   box->bnIgnore->width();
                retryDefault = retryDefault && box->bnRetry->isDefault();
                const QString shots = qEnvironmentVariable("GF_SHOT_DIR");
                if (!shots.isEmpty())
                    box->grab().save(QDir(shots).filePath("retrybox.png"));
                QApplication::setActiveWindow(box);
                QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : box,
                                key, mods);
                QTimer::singleShot(500, box, [box] { box->done(-1); });
            });
            return xRetryDlg(text, other);
        };
        QCOMPARE(press(Qt::Key_Return, Qt::NoModifier, "&Ohne Speichern weiter"), int(mrRetry));
        QCOMPARE(press(Qt::Key_O, Qt::AltModifier, "&Ohne Speichern beenden"), int(mrIgnore));
        QCOMPARE(press(Qt::Key_Escape, Qt::NoModifier, "&Ohne Speichern weiter"), int(mrIgnore));
        QVERIFY(fits && retryDefault);
    }

    void hookRecordsAndAnswers()
    {
        QVERIFY(!setMessageHook({})); // no hook outside a test's scope
        {
            ScopedMessageHook outer(mrNo);
            {
                // queued answers first, then the default
                ScopedMessageHook inner(mrOk);
                inner.answer(mrYes).answer(mrCancel);
                QCOMPARE(xMessageDlg("eins", mkHinweis, btn::YesNo, 7), int(mrYes));
                QCOMPARE(xMessageDlg("zwei", mkAchtung, btn::OK, 0), int(mrCancel));
                QCOMPARE(xMessageDlg("drei", mkFehlermeldung, btn::OK, 0), int(mrOk));
                QCOMPARE(inner.texts(), (QStringList{"eins", "zwei", "drei"}));
                QCOMPARE(inner.messages()[0].buttons, btn::YesNo);
                QVERIFY(outer.isEmpty());
            }
            // the outer hook is back in place
            QCOMPARE(xMessageDlg("vier", mkHinweis, btn::OK, 0), int(mrNo));
            QCOMPARE(outer.texts(), QStringList{"vier"});
        }
        QVERIFY(!setMessageHook({}));
    }

    void showHelpPage()
    {
        QTemporaryDir dir;
        AppContext ctx;
        ctx.paths.HlpDir = dir.path() + u'/';
        QFile page(ctx.paths.HlpDir + QStringLiteral("HLP12.RTF"));
        QVERIFY(page.open(QIODevice::WriteOnly));
        page.write("{\\rtf1{\\fonttbl{\\f0 Arial;}}\\b Telefon\\b0\\par Hilfe}");
        page.close();

        QStringList opened;
        setHelpPageHook([&](const QString& path) { opened << path; });
        ShowHelpPage(ctx, QStringLiteral("teldlg"));
        ShowHelpPage(ctx, QStringLiteral("Unbekannt"));
        ShowHelpPage(ctx, QStringLiteral("STAT"));
        // F1 in a window opens that window's page
        TBaseDlg window(ctx);
        window.HelpKey = QStringLiteral("TelDlg");
        window.show();
        QApplication::setActiveWindow(&window);
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QTest::keyClick(&window, Qt::Key_F1);
        window.hide();
        setHelpPageHook({});
        // keys in any case, found whatever the case of the file on disk; unknown keys
        // open nothing
        QCOMPARE(opened, QStringList(2, ctx.paths.HlpDir + QStringLiteral("HLP12.RTF")));

        // the real window: page shown, F11 names the data folder, OK closes
        tProgramData data;
        data.setDataDir(QStringLiteral("/daten/ordner"));
        ctx.data = &data;
        ScopedMessageHook messages;
        bool seen = false;
        QTimer::singleShot(0, [&] {
            auto* win = qobject_cast<THelpWin*>(QApplication::activeModalWidget());
            QVERIFY(win);
            seen = true;
            QCOMPARE(win->RichEdit->toPlainText(), QStringLiteral("Telefon\nHilfe"));
            QTest::keyClick(win, Qt::Key_F11);
            QTest::mouseClick(win->OKBtn, Qt::LeftButton);
            QCOMPARE(win->RichEdit->textCursor().position(), 0); // a long page opens at its top
        });
        ShowHelpPage(ctx, QStringLiteral("TelDlg"));
        QVERIFY(seen);
        QCOMPARE(messages.count(), 1);
        QCOMPARE(messages.last().text, QStringLiteral("Datenspeicherpfad: /daten/ordner/"));
        QCOMPARE(messages.last().kind, int(mkHinweis));

        // a page that cannot be read: an error naming the file, no window stays
        messages.clear();
        QTimer guard; // closes a window that should not have opened
        guard.setSingleShot(true);
        connect(&guard, &QTimer::timeout, [] {
            if (QWidget* w = QApplication::activeModalWidget())
                w->close();
        });
        guard.start(0);
        ShowHelpPage(ctx, QStringLiteral("LevelDlg"));
        QCOMPARE(messages.count(), 1);
        QCOMPARE(messages.last().kind, int(mkFehlermeldung));
        QVERIFY(messages.last().text.contains(QStringLiteral("hlp18.rtf")));
        for (QWidget* w : QApplication::topLevelWidgets())
            QVERIFY(!(qobject_cast<THelpWin*>(w) && w->isVisible()));
    }
};

} // namespace gf::test

QTEST_MAIN(gf::test::TestMsgDlg)
#include "tst_msgdlg.moc"

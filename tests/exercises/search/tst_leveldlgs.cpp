// The two task-count dialogs: choices, the warning without one, "Zurück", Escape,
// help pages, the test-run mode's extra count and the keyboard.
#include "core/data/MessageSink.h"
#include "exercises/search/TLevelDlg.h"
#include "exercises/search/TLevelKatDlg.h"
#include "platform/Fonts.h"
#include "support/Modal.h"
#include "toolkit/AppContext.h"
#include "toolkit/THelpWin.h"
#include "toolkit/TPushButton.h"
#include "toolkit/TRadioGroup.h"
#include "toolkit/TxMsgDlg.h"

#include <QApplication>
#include <QFileInfo>
#include <QTest>
#include <QTimer>
#include <functional>

using namespace gf;
using gf::test::runModal;
using gf::test::typeKeys;

namespace gf::test {

class TstLevelDlgs : public QObject
{
    Q_OBJECT

private:
    AppContext m_ctx;

private slots:
    void initTestCase()
    {
        registerFontSubstitutes();
    }
    void cleanup() { m_ctx.testRun = false; }

    void choices_data()
    {
        QTest::addColumn<bool>("kat");
        QTest::addColumn<bool>("testRun");
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QList<int>>("values");
        QTest::newRow("LevelDlg") << false << false
                                  << QStringList{"10 Übungen", "20 Übungen", "30 Übungen"}
                                  << QList<int>{10, 20, 30};
        // the test-run mode's extra count
        QTest::newRow("LevelDlg tl")
            << false << true << QStringList{"10 Übungen", "20 Übungen", "30 Übungen", " 2 Übungen"}
            << QList<int>{10, 20, 30, 2};
        QTest::newRow("LevelKatDlg tl")
            << true << true << QStringList{" 8 Übungen", "16 Übungen", "32 Übungen", " 2 Übungen"}
            << QList<int>{8, 16, 32, 2};
    }

    void choices()
    {
        QFETCH(bool, kat);
        QFETCH(bool, testRun);
        QFETCH(QStringList, texts);
        QFETCH(QList<int>, values);
        m_ctx.testRun = testRun;
        TLevelDlg level(m_ctx);
        TLevelKatDlg levelKat(m_ctx);
        TCountDlg& dlg = kat ? static_cast<TCountDlg&>(levelKat) : level;
        ScopedMessageHook messages;

        for (int i = 0; i < values.size(); ++i) {
            const int result = runModal(dlg, [&] {
                QCOMPARE(dlg.Group->items(), texts);
                // every showing starts without a choice, whatever was chosen before
                QCOMPARE(dlg.Group->itemIndex(), -1);
                QTest::mouseClick(dlg.OKBtn, Qt::LeftButton);
                QVERIFY(dlg.isVisible());
                QTest::mouseClick(dlg.Group->item(i), Qt::LeftButton);
                QTest::mouseClick(dlg.OKBtn, Qt::LeftButton);
            });
            QCOMPARE(result, int(mrOk));
            QCOMPARE(int(dlg.Count), values[i]);
        }
        QCOMPARE(messages.count(), values.size());
        for (const auto& m : messages.messages()) {
            QCOMPARE(m.text, QStringLiteral("Bitte wählen Sie einen Schwierigkeitsgrad aus!"));
            QCOMPARE(m.kind, int(mkAchtung));
            QCOMPARE(m.buttons, btn::OK);
        }
    }

    // The arrows and digits choose whatever the focus was before, Enter is "Weiter", and
    // "Zurück" answers to its letter only.
    void keys_data()
    {
        QTest::addColumn<bool>("kat");
        QTest::addColumn<bool>("testRun");
        QTest::addColumn<QList<int>>("keys");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("warnings");
        QTest::newRow("up enter") << false << false << QList<int>{Qt::Key_Up, Qt::Key_Return} << 30 << 0;
        QTest::newRow("up enter kat") << true << false << QList<int>{Qt::Key_Up, Qt::Key_Return} << 32 << 0;
        QTest::newRow("down down enter")
            << false << false << QList<int>{Qt::Key_Down, Qt::Key_Down, Qt::Key_Return} << 20 << 0;
        QTest::newRow("digit 4 only in the test run")
            << true << false << QList<int>{Qt::Key_4, Qt::Key_Return, Qt::Key_1, Qt::Key_Enter} << 8
            << 1;
        QTest::newRow("digit 4 test run")
            << false << true << QList<int>{Qt::Key_4, Qt::Key_Return} << 2 << 0;
    }

    void keys()
    {
        QFETCH(bool, kat);
        QFETCH(bool, testRun);
        QFETCH(QList<int>, keys);
        QFETCH(int, count);
        QFETCH(int, warnings);
        m_ctx.testRun = testRun;
        TLevelDlg level(m_ctx);
        TLevelKatDlg levelKat(m_ctx);
        TCountDlg& dlg = kat ? static_cast<TCountDlg&>(levelKat) : level;
        ScopedMessageHook messages;
        QCOMPARE(runModal(dlg,
                          [&] {
                              typeKeys(keys);
                              if (dlg.isVisible())
                                  dlg.done(-2); // the keys left it open
                          }),
                 int(mrOk));
        QCOMPARE(int(dlg.Count), count);
        QCOMPARE(messages.count(), warnings);

        QCOMPARE(runModal(dlg, [&] {
                     typeKeys({Qt::Key_Down});
                     ModalPlayer::key(&dlg, Qt::Key_Z, Qt::AltModifier);
                 }),
                 int(kat ? mrBack : mrCancel));
    }

    void backEscapeAndHelp()
    {
        QStringList pages;
        setHelpPageHook([&](const QString& path) { pages << QFileInfo(path).fileName(); });

        TLevelDlg level(m_ctx);
        level.Count = 20;
        // "Zurück" cancels and forgets the count
        QCOMPARE(runModal(level,
                          [&] {
                              QTest::mouseClick(level.HelpBtn, Qt::LeftButton);
                              QTest::mouseClick(level.Group->item(1), Qt::LeftButton);
                              QTest::mouseClick(level.BackBtn, Qt::LeftButton);
                          }),
                 int(mrCancel));
        QCOMPARE(level.Count, quint16(0));

        TLevelKatDlg kat(m_ctx);
        kat.Count = 16;
        // "Zurück" steps back and keeps the count; Escape cancels
        QCOMPARE(runModal(kat, [&] { QTest::mouseClick(kat.BackBtn, Qt::LeftButton); }),
                 int(mrBack));
        QCOMPARE(kat.Count, quint16(16));
        QCOMPARE(runModal(kat,
                          [&] {
                              QTest::mouseClick(kat.HelpBtn, Qt::LeftButton);
                              QTest::keyClick(&kat, Qt::Key_Escape);
                          }),
                 int(mrCancel));
        QCOMPARE(kat.Count, quint16(16));
        // Enter is "Weiter"
        QCOMPARE(runModal(kat,
                          [&] {
                              QTest::mouseClick(kat.Group->item(2), Qt::LeftButton);
                              QTest::keyClick(&kat, Qt::Key_Return);
                          }),
                 int(mrOk));
        QCOMPARE(kat.Count, quint16(32));

        QCOMPARE(pages, (QStringList{"hlp18.rtf", "hlp15.rtf"}));
        setHelpPageHook({});
    }
};

} // namespace gf::test

QTEST_MAIN(gf::test::TstLevelDlgs)
#include "tst_leveldlgs.moc"

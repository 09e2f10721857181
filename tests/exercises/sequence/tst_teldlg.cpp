#include "support/GuiFixture.h"

#include "core/data/Records.h"
#include "core/sequence/tTelExercise.h"
#include "exercises/sequence/TTelDlg.h"
#include "platform/Scheduling.h"
#include "toolkit/TPushButton.h"
#include "toolkit/TSkinButton.h"
#include "toolkit/TStatusBar.h"
#include "toolkit/TxMsgDlg.h"

#include <QShowEvent>
#include <QTemporaryDir>
#include <QtTest>

using namespace gf;
using Phase = tTelExercise::Phase;

namespace gf::test {

class TstTelDlg : public QObject
{
    Q_OBJECT

    std::unique_ptr<test::GuiContext> env;
    std::unique_ptr<TTelDlg> dlg;

    void open(int mode, int level, int tasks)
    {
        env->ctx.TelMode = quint16(mode);
        env->data.CurrentUser->TelLevel[mode] = level;
        dlg->Record = tTeleStat{};
        dlg->TasksTotal = quint16(tasks);
        dlg->open();
        QVERIFY(QTest::qWaitForWindowExposed(dlg.get()));
    }
    tTelExercise& ex() { return dlg->Exercise(); }
    QString shownDigits() const
    {
        QString d = dlg->Display->text();
        return d.remove(u' ').remove(u'-');
    }
    void untilDialling() { QTRY_COMPARE_WITH_TIMEOUT(ex().phase(), Phase::Dialling, 10000); }
    enum class By
    {
        Mouse,
        NumPad,
        TopRow
    };
    void dial(const QString& digits, By by)
    {
        for (QChar c : digits) {
            const int d = c.digitValue();
            if (by == By::Mouse)
                QTest::mouseClick(dlg->Buttons[std::size_t(d)], Qt::LeftButton);
            else
                QTest::keyClick(dlg.get(), Qt::Key(Qt::Key_0 + d),
                                by == By::NumPad ? Qt::KeypadModifier : Qt::NoModifier);
        }
    }
    static QString wrong(const QString& number)
    {
        QString w = number;
        w[1] = number[1] == u'0' ? u'1' : u'0';
        return w;
    }

private slots:
    void init()
    {
        env = std::make_unique<test::GuiContext>();
        dlg = std::make_unique<TTelDlg>(env->ctx);
    }
    void cleanup()
    {
        dlg.reset();
        env.reset();
    }

    void wholeExerciseOnTheKeypad()
    {
        ScopedMessageHook messages;
        open(2, 5, 2);
        test::shot(dlg.get(), "teldlg_start");
        QVERIFY(!dlg->Buttons[1]->isEnabled());
        // a click on the background before the start explains how to begin
        QTest::mouseClick(dlg.get(), Qt::LeftButton, {}, QPoint(40, 300));
        QCOMPARE(messages.count(), 1);
        QVERIFY(messages.last().text.startsWith("Um die Aufgabe zu beginnen,  bewegen Sie"));
        QCOMPARE(messages.last().kind, int(mkAchtung));

        // Digits a tenth of their real time apart: long enough to type into the
        // presentation even on a loaded machine.
        timing::setScale(0.1);
        // the start button leaves every key free; Enter presses it
        for (const QWidget* key : dlg->Buttons)
            QVERIFY(!dlg->StartPanel->geometry().intersects(key->geometry()));
        QTest::keyClick(dlg.get(), Qt::Key_Return);
        QVERIFY(!dlg->StartPanel->isVisible());
        QVERIFY(dlg->statusBar()->text().startsWith("Aufgabe 1 von 2"));
        QVERIFY(dlg->statusBar()->text().contains(ex().number())); // test-run mode
        QTest::mouseClick(dlg.get(), Qt::LeftButton, {}, QPoint(40, 300));
        QTRY_VERIFY_WITH_TIMEOUT(shownDigits().size() >= 2, 10000);
        QCOMPARE(ex().phase(), Phase::Presenting);
        QVERIFY(systemScheduler().raised()); // while presenting and dialling
        test::shot(dlg.get(), "teldlg_presenting");
        // typed or clicked during the presentation: ignored
        dial("12", By::NumPad);
        dial("3", By::TopRow);
        QCOMPARE(ex().digitsEntered(), 0);

        untilDialling();
        QVERIFY(systemScheduler().raised());
        const QString first = ex().number();
        QVERIFY(first.size() > 4);
        dial(first.left(2), By::Mouse);
        dial(first.mid(2, 2), By::NumPad);
        dial(first.mid(4), By::TopRow);
        QVERIFY(!systemScheduler().raised()); // the feedback and the pause need no haste
        QCOMPARE(messages.count(), 1);

        QTRY_COMPARE_WITH_TIMEOUT(dlg->TasksDone, 2, 10000);
        // restored from minimised, the exercise goes on where it was
        dlg->showMinimized();
        dlg->showNormal();
        QShowEvent again;
        QApplication::sendEvent(dlg.get(), &again);
        QCOMPARE(dlg->TasksDone, 2);
        QCOMPARE(dlg->Record.Trials[5], 1);
        untilDialling();
        dial(wrong(ex().number()), By::Mouse);
        QTRY_VERIFY_WITH_TIMEOUT(!dlg->isVisible(), 10000);
        QCOMPARE(dlg->result(), int(mrOk));
        QCOMPARE(dlg->Record.Trials[5], 2);
        QCOMPARE(dlg->Record.Correct[5], 1);
        QCOMPARE(dlg->Record.BestSpan, NoValue);
        for (TTelKey* key : dlg->Buttons)
            QTRY_COMPARE(key->face(), QColor(0, 0, 128)); // every flash has ended
    }

    // Escape is answered in the course test; the close button asks its own question.
    void closeAsksFirst()
    {
        ScopedMessageHook messages(mrNo);
        open(2, 4, 2);
        QTest::mouseClick(dlg->StartPanel, Qt::LeftButton);
        untilDialling();
        // the number on the display cannot be read while the question is open
        bool displayHidden = false;
        messages.setHandler([&](const ScopedMessageHook::Message&) {
            displayHidden = dlg->Display->isHidden();
            return int(mrNo);
        });
        QTest::mouseClick(dlg->OKBtn, Qt::LeftButton);
        QVERIFY(displayHidden);
        QVERIFY(!dlg->Display->isHidden());
        QCOMPARE(messages.texts(), QStringList{"Möchten Sie wirklich abbrechen?"});
        QCOMPARE(messages.last().kind, int(mkBitteBestaetigen));
        dial(ex().number().left(1), By::Mouse); // still dialling
        QCOMPARE(ex().digitsEntered(), 1);

        messages.answer(mrYes);
        QTest::mouseClick(dlg->OKBtn, Qt::LeftButton);
        QVERIFY(!dlg->isVisible());
        QCOMPARE(dlg->result(), int(mrCancel));
        QCOMPARE(ex().phase(), Phase::Idle);
    }

    void withoutSoundFilesTheNumberIsShown()
    {
        QTemporaryDir empty;
        env->ctx.paths.WavDir = empty.path() + "/";
        ScopedMessageHook messages;
        open(3, 3, 2);
        timing::setScale(0.1); // the digits stay long enough to be seen
        QTest::mouseClick(dlg->StartPanel, Qt::LeftButton);
        QCOMPARE(messages.count(), 1);
        QVERIFY(messages.last().text.startsWith(
            "Eine akustische Darstellung ist nicht möglich, weil \n\r"));
        QVERIFY(messages.last().text.endsWith(
            "\n\rStattdessen werden die Nummern visuell nacheinander dargestellt"));
        QTRY_VERIFY_WITH_TIMEOUT(shownDigits().size() >= 1, 10000);
        QCOMPARE(shownDigits(), ex().number().left(shownDigits().size()));
        untilDialling();
        QCOMPARE(messages.count(), 1); // no message per digit
    }

    void showingAgainStartsAfresh()
    {
        ScopedMessageHook messages(mrYes);
        open(2, 6, 4);
        QTest::mouseClick(dlg->StartPanel, Qt::LeftButton);
        untilDialling();
        dlg->reject();
        QVERIFY(!dlg->isVisible());
        open(2, 2, 2);
        QVERIFY(dlg->StartPanel->isVisible());
        QCOMPARE(ex().curLength(), 3);
        QCOMPARE(dlg->TasksDone, 0);
        QCOMPARE(dlg->statusBar()->text(), QString());
    }
};

} // namespace gf::test

QTEST_MAIN(gf::test::TstTelDlg)
#include "tst_teldlg.moc"

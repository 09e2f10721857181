#include "support/GuiFixture.h"

#include "data/Records.h"
#include "sequence/TBMPPresentDlg.h"
#include "sequence/tMemoExercise.h"
#include "widgets/THelpWin.h"
#include "widgets/TImage.h"
#include "widgets/TPushButton.h"
#include "widgets/TSkinButton.h"
#include "widgets/TxMsgDlg.h"

#include <QLabel>
#include <QTemporaryDir>
#include <QtTest>

using namespace gf;
using Phase = tMemoExercise::Phase;

class TstBmpPresentDlg : public QObject
{
    Q_OBJECT

    std::unique_ptr<test::GuiContext> env;
    std::unique_ptr<TBMPPresentDlg> dlg;
    tBmpSndStat stat;

    void open(int mode, int level, int tasks)
    {
        env->data.CurrentUser->MemoLevel[mode] = level;
        stat = tBmpSndStat{};
        dlg->Mode = quint16(mode);
        dlg->TasksTotal = quint16(tasks);
        dlg->Stat = &stat;
        dlg->open();
        QVERIFY(QTest::qWaitForWindowExposed(dlg.get()));
    }
    tMemoExercise& ex() { return dlg->Exercise(); }

private slots:
    void init()
    {
        env = std::make_unique<test::GuiContext>();
        dlg = std::make_unique<TBMPPresentDlg>(env->ctx);
    }
    void cleanup()
    {
        dlg.reset();
        env.reset();
    }

    // Without pictures every event is still presented, by its number, and the trainee
    // is told once; the presentation runs to its end.
    void missingPicturesAreToldOnceAndTheEventsStillShown()
    {
        QTemporaryDir empty;
        env->ctx.paths.BmpDir = empty.path() + "/";
        ScopedMessageHook messages;
        open(2, 3, 1);
        QVERIFY(!dlg->TastKeys[9]->picture().isNull()); // the key shows its number
        // What the stage shows at each event: a number is drawn white on the dark stage.
        QStringList stage;
        connect(&ex(), &tMemoExercise::stageChanged, this, [&] {
            if (ex().stageStep() == 0)
                return;
            const QImage shown = dlg->Image->picture().toImage();
            bool white = false;
            for (int y = 0; y < shown.height() && !white; y += 2)
                for (int x = 0; x < shown.width() && !white; x += 2)
                    white = shown.pixelColor(x, y) == QColor(Qt::white);
            stage << QString("%1 %2").arg(int(ex().stageShow())).arg(white);
        });
        QTest::keyClick(dlg.get(), Qt::Key_Return);
        QTRY_COMPARE_WITH_TIMEOUT(ex().phase(), Phase::Answering, 10000);
        const QString number = QString("%1 1").arg(int(memo::StageShow::Number));
        QCOMPARE(stage, QStringList(3, number));
        QCOMPARE(messages.count(), 1);
        QVERIFY(messages.last().text.startsWith(empty.path()));
        QVERIFY(messages.last().text.contains("kann nicht dargestellt werden."));
        QCOMPARE(messages.last().kind, int(mkHinweis));
    }

    void helpPausesTheExercise()
    {
        ScopedMessageHook messages;
        open(2, 2, 1);
        QTest::mouseClick(dlg->StartPanel, Qt::LeftButton);
        QCOMPARE(ex().phase(), Phase::Presenting);
        QString page;
        bool pausedWhileOpen = false;
        const HelpPageHook previous = SetHelpPageHook([&](const QString& path) {
            page = path;
            pausedWhileOpen = ex().paused();
        });
        QTest::mouseClick(dlg->HelpBtn, Qt::LeftButton);
        SetHelpPageHook(previous);
        QVERIFY(page.endsWith("hlp14.rtf"));
        QVERIFY(pausedWhileOpen);
        QVERIFY(!ex().paused());
        QTRY_COMPARE_WITH_TIMEOUT(ex().phase(), Phase::Answering, 10000);
        QVERIFY(messages.isEmpty());
    }
};

QTEST_MAIN(TstBmpPresentDlg)
#include "tst_bmppresentdlg.moc"

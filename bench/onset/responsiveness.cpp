// Answers to the trainee's input where they are seen: a key or click injected at the X
// server (stamped there) to the first change of the answering area on the X server.
// Only under GF_ONSET_XSERVER=1. The presentations run at a tenth of their time: what is
// measured is the answer to the input, not the schedule.

#include "Onset.h"
#include "XServer.h"

#include "core/data/MessageSink.h"
#include "core/data/ProgramData.h"
#include "core/data/Random.h"
#include "core/data/Records.h"
#include "core/data/Timing.h"
#include "core/search/tSearchRun.h"
#include "core/sequence/StepClock.h"
#include "core/sequence/tMemoExercise.h"
#include "core/sequence/tTelExercise.h"
#include "exercises/search/TAbfragDlg.h"
#include "exercises/search/TWortDlg.h"
#include "exercises/sequence/TBMPPresentDlg.h"
#include "exercises/sequence/TTelDlg.h"
#include "platform/SoundPlayer.h"
#include "shell/TMainWin.h"
#include "toolkit/AppContext.h"
#include "toolkit/TPushButton.h"
#include "toolkit/TxMsgDlg.h"

#include <QApplication>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

namespace gf::bench {

namespace {

constexpr int Samples = 60;
constexpr int KeyGapMs = 150; // the answer to one key has long arrived before the next

// Runs `dlg` until `enough` says so, pressing through `step` every key gap.
template <typename Dlg> void drive(Dlg& dlg, const std::function<bool()>& step)
{
    int injected = 0;
    const SteadyClock::time_point giveUp = SteadyClock::now() + std::chrono::minutes(2);
    // A fresh single shot each time: a step may run inside a question's own loop, where a
    // repeating timer whose handler is still running would never fire again.
    std::function<void()> tick = [&] {
        if (injected >= Samples || SteadyClock::now() > giveUp) {
            // Questions still open are closed first: their loops run inside the window's.
            auto* open = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (open && open != &dlg) {
                open->done(mrOk);
                QTimer::singleShot(KeyGapMs, &dlg, tick);
            } else {
                static_cast<QDialog&>(dlg).done(mrCancel);
            }
            return;
        }
        if (step()) {
            ++injected;
            noteClass();
        }
        QTimer::singleShot(KeyGapMs, &dlg, tick);
    };
    QTimer::singleShot(1000, &dlg, tick);
    dlg.exec();
}

std::vector<double> telephoneKeys()
{
    timing::setScale(0.1);
    ExerciseSetup setup;
    AppContext& ctx = setup.ctx;
    ctx.testRun = true;
    ctx.TelMode = 2;
    setup.user().TelLevel[2] = 10;
    TTelDlg dlg(ctx);
    dlg.TasksTotal = 30;
    tTelExercise& ex = dlg.Exercise();
    QTimer::singleShot(500, &dlg, [&] { ex.startTask(); });
    drive(dlg, [&] {
        if (ex.phase() != tTelExercise::Phase::Dialling || ex.digitsEntered() >= ex.numLength())
            return false;
        const QByteArray digit(1, char(ex.number().at(ex.digitsEntered()).toLatin1()));
        injectKey(digit.constData(), screenRect(dlg.Display));
        return true;
    });
    return {};
}

std::vector<double> memoKeys()
{
    timing::setScale(0.1);
    ExerciseSetup setup;
    AppContext& ctx = setup.ctx;
    ctx.testRun = true;
    setup.user().MemoLevel[2] = 4;
    TBMPPresentDlg dlg(ctx);
    dlg.Mode = 2;
    dlg.TasksTotal = 30;
    tMemoExercise& ex = dlg.Exercise();
    QObject::connect(&ex, &tMemoExercise::phaseChanged, &dlg, [&](tMemoExercise::Phase phase) {
        if (phase == tMemoExercise::Phase::Ready || phase == tMemoExercise::Phase::WaitingForStart)
            QTimer::singleShot(100, &dlg, [&] { ex.startTask(); });
    });
    int typed = -1; // the answer's length when the last key went out
    drive(dlg, [&] {
        const int done = int(ex.answer().size());
        if (ex.phase() != tMemoExercise::Phase::Answering || done >= ex.items().size() ||
            done == typed)
            return false;
        typed = done;
        const int key = ex.items().at(done) + 1;
        injectKey(QByteArray::number(key % 10).constData(), screenRect(&dlg));
        return true;
    });
    return {};
}

// The word query: the arrow keys move the highlight over the options, then a number key
// chooses one and its verdict is marked. "Weiter" is clicked inside: a window closing
// answers nothing the trainee waits for.
std::vector<double> queryKeys()
{
    timing::setScale(0.1);
    ExerciseSetup setup;
    AppContext& ctx = setup.ctx;
    Random random(20240611);
    TWortDlg dlg(ctx, nullptr, preciseStepClock(), random);
    dlg.TaskCount = 32;
    if (!dlg.LoadItemTables(QStringLiteral("std.cfg")))
        return {};
    tSearchRun& run = dlg.Run();
    QObject::connect(&run, &tSearchRun::phaseChanged, &dlg, [&](tSearchRun::Phase phase) {
        if (phase == tSearchRun::Phase::Ready)
            QTimer::singleShot(100, &dlg, [&] { run.startPass(); });
    });
    int arrows = 0;
    drive(dlg, [&] {
        auto* query = qobject_cast<TAbfragDlg*>(QApplication::activeModalWidget());
        if (!query || !query->isVisible())
            return false;
        if (query->Answered) {
            arrows = 0;
            query->OKBtn->click();
            return false;
        }
        if (QApplication::activeWindow() != query) {
            query->activateWindow(); // without a window manager nobody else gives it the keys
            return false;
        }
        injectKey(arrows++ < 3 ? "Down" : "1", screenRect(query));
        return true;
    });
    return {};
}

// A click on the first door until its introduction is painted: the whole program after
// its start-up, a detective logged in.
std::vector<double> doorClicks()
{
    timing::setScale(0.1);
    QTemporaryDir dir;
    BoxMessageSink messages;
    tProgramData data(&messages);
    data.setDataDir(dir.path());
    const std::unique_ptr<SoundPlayer> player = createSoundPlayer(true);
    AppContext ctx;
    ctx.testRun = true;
    ctx.paths.ProgramDir = installDir();
    ctx.messages = &messages;
    ctx.data = &data;
    ctx.player = player.get();
    const QRect screen = QApplication::primaryScreen()->geometry();
    ctx.ScreenWidth = screen.width();
    ctx.ScreenHeight = screen.height();
    TMainWin win(ctx);
    win.createWindows();

    // Every window that opens in between (the title, an introduction) is closed after a
    // while; the next click goes out once the door screen has been quiet as long.
    constexpr int Clicks = 30;
    constexpr int SettleMs = 500;
    int clicked = 0;
    bool loggedIn = false;
    QWidget* open = nullptr;
    SteadyClock::time_point since = SteadyClock::now();
    const SteadyClock::time_point giveUp = since + std::chrono::minutes(2);
    QPoint door;
    std::function<void()> tick = [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal != open) {
            open = modal;
            since = SteadyClock::now();
        }
        const bool settled = SteadyClock::now() - since > std::chrono::milliseconds(SettleMs);
        if (modal) {
            if (settled) {
                if (verbose())
                    std::fprintf(stderr, "  door: closing %s\n", modal->metaObject()->className());
                static_cast<QDialog*>(modal)->done(mrCancel);
            }
        } else if (win.startedUp() && !loggedIn) {
            loggedIn = data.registerUser(QStringLiteral("Bench"), 1);
            data.UserName = QStringLiteral("Bench");
            loggedIn = loggedIn && data.openUser();
            win.AfterLogin();
            win.activateWindow();
            door = win.Image1->mapToGlobal(win.Image1->rect().center());
            movePointer(door);
            since = SteadyClock::now();
        } else if (settled && loggedIn) {
            if (clicked >= Clicks || SteadyClock::now() > giveUp) {
                win.CloseWithoutQuestion = true;
                win.close();
                return;
            }
            win.BackImage->show();
            ++clicked;
            injectClick(door, screen, true);
            noteClass();
            since = SteadyClock::now();
        }
        QTimer::singleShot(20, &win, tick);
    };
    QTimer::singleShot(20, &win, tick);
    win.show();
    while (win.isVisible() || !win.startedUp()) {
        if (SteadyClock::now() > giveUp + std::chrono::seconds(10))
            break;
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 50);
    }
    if (!loggedIn)
        std::fprintf(stderr, "door: no detective could log in\n");
    return {};
}

} // namespace

GF_LATENCY("telephone-key", telephoneKeys);
GF_LATENCY("memo-key", memoKeys);
GF_LATENCY("query-key", queryKeys);
GF_LATENCY("door", doorClicks);

} // namespace gf::bench

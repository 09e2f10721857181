// Answers to the trainee's input where they are seen: a key or click injected at the X
// server (stamped there) to the first change of the answering area on the X server.
// Only under GF_ONSET_XSERVER=1. The presentations run at a tenth of their time: what is
// measured is the answer to the input, not the schedule.

#include "Onset.h"
#include "XServer.h"

#include "core/data/MessageSink.h"
#include "core/data/ProgramData.h"
#include "core/data/Records.h"
#include "core/data/Timing.h"
#include "core/sequence/tMemoExercise.h"
#include "core/sequence/tTelExercise.h"
#include "exercises/sequence/TBMPPresentDlg.h"
#include "exercises/sequence/TTelDlg.h"
#include "toolkit/AppContext.h"

#include <QApplication>
#include <QTimer>

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
        if (step())
            ++injected;
        QTimer::singleShot(KeyGapMs, &dlg, tick);
    };
    QTimer::singleShot(1000, &dlg, tick);
    dlg.exec();
}

std::vector<double> telephoneKeys()
{
    timing::setScale(0.1);
    AppContext ctx;
    ctx.testRun = true;
    ctx.TelMode = 2;
    tProgramData data;
    data.CurrentUser = std::make_shared<tUser>();
    data.CurrentUser->TelLevel[2] = 10;
    ctx.data = &data;
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
    AppContext ctx;
    ctx.testRun = true;
    ctx.paths.BmpDir = installDir() + QStringLiteral("BMP/");
    ctx.paths.WavDir = installDir() + QStringLiteral("WAV/");
    tProgramData data;
    data.CurrentUser = std::make_shared<tUser>();
    data.CurrentUser->MemoLevel[2] = 4;
    ctx.data = &data;
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

} // namespace

GF_LATENCY("telephone-key", telephoneKeys);
GF_LATENCY("memo-key", memoKeys);

} // namespace gf::bench

// Onsets of the two sequence exercises in real time: the telephone's display after each
// digit of the read mode, and the memo protocol's stage after each event.

#include "Onset.h"

#include "core/data/MessageSink.h"
#include "core/data/ProgramData.h"
#include "core/data/Records.h"
#include "core/data/Timing.h"
#include "core/sequence/tMemoExercise.h"
#include "core/sequence/tTelExercise.h"
#include "exercises/sequence/TBMPPresentDlg.h"
#include "exercises/sequence/TTelDlg.h"
#include "toolkit/AppContext.h"
#include "toolkit/TImage.h"

#include <QTimer>

#include <chrono>
#include <cstdio>

namespace gf::bench {

namespace {

using std::chrono::duration;

// Read mode, six numbers of ten digits and more, each dialled back at once: some 60 digits in
// about a minute.
std::vector<double> telephoneDigits()
{
    timing::setScale(1.0);
    ExerciseSetup setup;
    AppContext& ctx = setup.ctx;
    ctx.testRun = true; // a silent player: nothing to wait for, no device needed
    ctx.TelMode = 2;
    setup.user().TelLevel[2] = 10;

    TTelDlg dlg(ctx);
    dlg.TasksTotal = 6;
    tTelExercise& ex = dlg.Exercise();

    // The display is painted while the digit is being presented, so the step's due
    // moment is still the one of the digit just shown.
    std::vector<double> errors;
    int digitsSeen = 0;
    PaintStamp stamp(dlg.Display);
    stamp.onPainted = [&](SteadyClock::time_point painted) {
        int digits = 0;
        for (QChar c : ex.display())
            digits += c.isDigit() ? 1 : 0;
        if (ex.phase() == tTelExercise::Phase::Presenting && digits > digitsSeen)
            errors.push_back(onsetError("telephone-digit", stamp, painted, ex.stepDue()));
        digitsSeen = ex.phase() == tTelExercise::Phase::Presenting ? digits : 0;
    };
    QObject::connect(&ex, &tTelExercise::phaseChanged, &dlg, [&](tTelExercise::Phase phase) {
        if (phase != tTelExercise::Phase::Dialling)
            return;
        QTimer::singleShot(0, &dlg, [&] {
            for (QChar c : ex.number())
                ex.dial(c.digitValue());
        });
    });
    // The trainee starts a while after the window has appeared.
    QTimer::singleShot(1000, &dlg, [&] { ex.startTask(); });
    dlg.exec();
    return errors;
}

// One sequence of 17 events seen on the stage: 17 onsets in about 70 seconds.
std::vector<double> memoSequence()
{
    timing::setScale(1.0);
    ExerciseSetup setup;
    AppContext& ctx = setup.ctx;
    ctx.testRun = true;
    setup.user().MemoLevel[2] = memo::MaxStartLevel;

    TBMPPresentDlg dlg(ctx);
    dlg.Mode = 2;
    dlg.TasksTotal = 1;
    tMemoExercise& ex = dlg.Exercise();

    // The stage is painted while its event begins.
    std::vector<double> errors;
    int step = 0;
    PaintStamp stamp(dlg.Image);
    stamp.onPainted = [&](SteadyClock::time_point painted) {
        if (ex.stageStep() != 0 && ex.stageStep() != step)
            errors.push_back(onsetError("memo-event", stamp, painted, ex.stageOnset()));
        step = ex.stageStep();
    };
    QObject::connect(&ex, &tMemoExercise::phaseChanged, &dlg, [&](tMemoExercise::Phase phase) {
        if (phase == tMemoExercise::Phase::Answering)
            QTimer::singleShot(0, &dlg, [&] { static_cast<QDialog&>(dlg).done(mrCancel); });
    });
    QTimer::singleShot(1000, &dlg, [&] { ex.startTask(); });
    dlg.exec();
    return errors;
}

// Two sequences, so that a single hiccup of the machine does not decide the spread.
std::vector<double> memoEvents()
{
    std::vector<double> errors = memoSequence();
    const std::vector<double> second = memoSequence();
    errors.insert(errors.end(), second.begin(), second.end());
    return errors;
}

} // namespace

GF_ONSET("telephone-digit", telephoneDigits);
GF_ONSET("memo-event", memoEvents);

} // namespace gf::bench

// Onsets of the word search and the picture search: each word and each picture, and
// each step of the fax machine, against the schedule that the pass started. Real time;
// the trainee starts every pass and answers at once.

#include "Onset.h"

#include "core/data/MessageSink.h"
#include "core/data/Random.h"
#include "core/data/Timing.h"
#include "core/search/SearchRules.h"
#include "core/search/tSearchRun.h"
#include "core/sequence/StepClock.h"
#include "exercises/search/SearchArt.h"
#include "exercises/search/TAbfragDlg.h"
#include "exercises/search/TBmpAbfragDlg.h"
#include "exercises/search/TBmpKatDlg.h"
#include "exercises/search/TWortDlg.h"
#include "toolkit/AppContext.h"
#include "toolkit/TPushButton.h"

#include <QApplication>
#include <QTimer>

#include <array>
#include <cstdio>
#include <optional>

namespace {

using namespace std::chrono;
using gf::bench::PaintStamp;
using gf::bench::SteadyClock;
using gf::tSearchRun;

struct SearchOnsets
{
    std::vector<double> items;
    std::vector<double> fax;
};

// One window runs until `itemsWanted` items have been shown (and, for pictures, the
// fax machine has come to rest after the last).
template <typename Dlg> SearchOnsets measure(const QString& tableFile, int itemsWanted)
{
    gf::bench::ExerciseSetup setup;
    gf::AppContext& ctx = setup.ctx;
    gf::timing::setScale(1.0);
    gf::Random random(20240611);
    Dlg dlg(ctx, nullptr, gf::preciseStepClock(), random);
    dlg.TaskCount = 32;
    if (!dlg.LoadItemTables(tableFile))
        return {};
    tSearchRun& run = dlg.Run();
    const bool pictures = run.kind() == tSearchRun::Kind::Picture;
    const auto show = pictures ? gf::search::PictureShowTime
                               : gf::search::wordShowTime(dlg.Tables.DisplayTime);
    const auto pause = gf::search::PauseTime;

    QWidget* stage = nullptr;
    if constexpr (std::is_same_v<Dlg, gf::TWortDlg>)
        stage = dlg.WordPanel;
    else
        stage = dlg.Image;
    PaintStamp stageStamp(stage);
    std::optional<PaintStamp> faxStamps[gf::searchart::FaxFrameCount];
    if constexpr (std::is_same_v<Dlg, gf::TBmpKatDlg>)
        for (int i = 0; i < gf::searchart::FaxFrameCount; ++i)
            faxStamps[i].emplace(dlg.FaxFrames[std::size_t(i)]);

    SearchOnsets out;
    SteadyClock::time_point passStart{}, itemNominal{};
    int lastFrame = 1;
    bool closing = false;
    // A paint that did not happen counts as late by the time since it was due.
    auto onset = [&](const char* kind, const PaintStamp& stamp, SteadyClock::time_point nominal) {
        SteadyClock::time_point painted = stamp.last();
        if (painted < nominal - milliseconds(100))
            painted = SteadyClock::now();
        return gf::bench::onsetError(kind, stamp, painted, nominal);
    };
    auto finish = [&] {
        if (closing)
            return;
        closing = true;
        QTimer::singleShot(200, &dlg, [&] { static_cast<QDialog&>(dlg).done(gf::mrCancel); });
    };

    // Runs after the window's own handler, which paints before returning.
    QObject::connect(&run, &tSearchRun::itemShown, &dlg, [&](int position, const QString&) {
        itemNominal = passStart + pause + (position - 1) * (show + pause);
        out.items.push_back(onset(pictures ? "picture" : "word", stageStamp, itemNominal));
        lastFrame = 1;
        if (!pictures && int(out.items.size()) >= itemsWanted)
            finish();
    });
    QObject::connect(&run, &tSearchRun::faxFrameChanged, &dlg, [&](int frame) {
        // Frame 1 at a picture's onset is the machine at rest; nothing changes.
        const int step = frame == 1 ? (lastFrame == 3 ? 3 : 0) : frame - 1;
        lastFrame = frame;
        if (step == 0)
            return;
        out.fax.push_back(onset("fax-frame", *faxStamps[frame - 1],
                                 itemNominal + step * gf::search::FaxFrameTime));
        if (step == 3 && int(out.items.size()) >= itemsWanted)
            finish();
    });
    // The trainee starts each pass a moment after it is offered ...
    QObject::connect(&run, &tSearchRun::phaseChanged, &dlg, [&](tSearchRun::Phase phase) {
        if (phase != tSearchRun::Phase::Ready || closing)
            return;
        QTimer::singleShot(400, &dlg, [&] {
            passStart = SteadyClock::now();
            run.startPass();
        });
    });
    // ... and answers the question at once.
    QTimer answer;
    answer.setInterval(20);
    QObject::connect(&answer, &QTimer::timeout, &dlg, [&] {
        QWidget* w = QApplication::activeModalWidget();
        if (auto* q = qobject_cast<gf::TAbfragDlg*>(w)) {
            q->Choose(0);
            q->OKBtn->click();
        } else if (auto* b = qobject_cast<gf::TBmpAbfragDlg*>(w)) {
            b->Choose(0);
            b->OKBtn->click();
        }
    });
    answer.start();
    dlg.exec();
    return out;
}

std::optional<SearchOnsets> g_pictures;

const SearchOnsets& pictureRun()
{
    if (!g_pictures)
        g_pictures = measure<gf::TBmpKatDlg>(QStringLiteral("bmp.cfg"), 24);
    return *g_pictures;
}

GF_ONSET("word", [] { return measure<gf::TWortDlg>(QStringLiteral("std.cfg"), 36).items; });
GF_ONSET("picture", [] { return pictureRun().items; });
GF_ONSET("fax-frame", [] { return pictureRun().fax; });

} // namespace

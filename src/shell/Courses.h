#pragma once

#include <functional>
#include <QList>

namespace gf {

struct AppContext;
struct WindowSet;
class TChooseModeDlg;

// Shows the steps of an introduction chain in turn: OK goes on, "&Zurück" (mrBack) goes
// one step back (from the first step it ends the chain), anything else ends it. True when
// the last step was left with OK.
bool runIntroductionChain(const QList<std::function<int()>>& steps);

// The option texts of both sequence exercises: "Hören", "Sehen", "Hören und Sehen".
void setSequenceModeTexts(TChooseModeDlg& choose);

// The exercise courses behind the four doors and the menu: introductions and choices,
// the exercise window, the record in its session list, the results graph.
class Courses
{
public:
    Courses(AppContext& ctx, WindowSet& windows) : m_ctx(ctx), m_w(windows) {}

    // True when the exercise ran to its end (door 3 then hides the door picture).
    bool Telephone();
    // The memo protocol in the mode last set in its window (the mode choice may change
    // it). True when the exercise ran to its end.
    bool Memo();
    // The word search and the picture search; true when the run ended with its last task.
    bool wordSearch();
    bool pictureSearch();

private:
    AppContext& m_ctx;
    WindowSet& m_w;
};

} // namespace gf

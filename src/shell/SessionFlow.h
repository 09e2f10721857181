#pragma once

#include "core/data/ProgramData.h"

#include <QString>

#include <functional>

class QDate;

namespace gf {

struct AppContext;
struct WindowSet;

// The detective's side of a program run, as the windows see it: the login dialog, the
// step after a login (the date rule, fresh session lists, the totals) and the saving
// when a detective is changed or the program ends.
class SessionFlow
{
public:
    SessionFlow(AppContext& ctx, WindowSet& windows);

    // "Benutzer": saves the session so far, then lets another detective log in; a
    // cancelled login keeps the detective and data folder there were.
    void login();
    void afterLogin();
    // Saves what the session holds, unless it is read-only or nobody is logged in.
    void saveOnExit();
    // Stores what the session holds without asking anything; false when something stays
    // unsaved.
    bool storeQuietly();
    // Keeps this program's login mark fresh while a detective is logged in; says so when
    // it was taken away (the detective deleted or logged in elsewhere).
    void refreshLogin();

    // The main window's caption after a login.
    std::function<void(const QString&)> onTitle;

private:
    AppContext& m_ctx;
    WindowSet& m_windows;
};

// After a save: nothing more to do, or the trainee is told and, when the save failed,
// asked "Wiederholen" or to go on (at exit: to quit) without saving; the records then
// stay in memory and are tried again at the next save. True when everything is stored
// (or nothing was to be stored).
bool settleSave(AppContext& ctx, tProgramData::SaveOutcome outcome, bool atExit);

// The date rule of the after-login step: the detective's registration lies in a later
// calendar month than today (days are not compared).
bool regDateInLaterMonth(const QDate& regDate, const QDate& today);
QString dateRuleMessage(const QString& name, const QDate& regDate, const QDate& today);

} // namespace gf

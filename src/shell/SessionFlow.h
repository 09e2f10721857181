#pragma once

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

    // The main window's caption after a login.
    std::function<void(const QString&)> onTitle;

private:
    AppContext& m_ctx;
    WindowSet& m_windows;
};

// The date rule of the after-login step: the detective's registration lies in a later
// calendar month than today (days are not compared).
bool regDateInLaterMonth(const QDate& regDate, const QDate& today);
QString dateRuleMessage(const QString& name, const QDate& regDate, const QDate& today);

} // namespace gf

#include "shell/SessionFlow.h"

#include "core/data/ProgramData.h"
#include "shell/TAnmeldDlg.h"
#include "shell/WindowSet.h"
#include "toolkit/AppContext.h"
#include "toolkit/TxMsgDlg.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

namespace gf {

SessionFlow::SessionFlow(AppContext& ctx, WindowSet& windows) : m_ctx(ctx), m_windows(windows) {}

void SessionFlow::login()
{
    tProgramData& data = *m_ctx.data;
    // Records are stored when they are shown; one that could not be stored then is
    // tried again before the detective may change.
    if (!m_ctx.ReadOnlySession && data.CurrentUser)
        settleSave(m_ctx, data.storeSession(), false);
    const QString remembered = data.UserName;
    TAnmeldDlg* login = m_windows.AnmeldDlg;
    if (login->exec() == mrOk) {
        afterLogin();
    } else {
        if (data.userFileExists(remembered))
            data.UserName = remembered;
        data.setDataDir(login->notedDataDir());
    }
    QDir::setCurrent(m_ctx.paths.ProgramDir);
}

QString dateRuleMessage(const QString& name, const QDate& regDate, const QDate& today)
{
    const QString shortDate = QStringLiteral("dd.MM.yyyy");
    return QStringLiteral("Hinweis: das Datum wurde verändert! \n\rDer Benutzer ") + name +
           QStringLiteral("\r hat sich am ") + regDate.toString(shortDate) +
           QStringLiteral(" angemeldet, Ihr Rechner meldet als heutiges Datum aber erst den ") +
           today.toString(shortDate) + QStringLiteral(".") + QStringLiteral("\n\r") +
           QStringLiteral("Durch dieses Problem können leider keine Ergebnisse ") +
           QStringLiteral(" mehr gespeichert werden, bis in Ihrer Konfiguration das ") +
           QStringLiteral(" Anmeldedatum wieder erreicht ist oder ") +
           QStringLiteral(" Sie das Datum entsprechend angepaßt haben!");
}

bool regDateInLaterMonth(const QDate& regDate, const QDate& today)
{
    return regDate.year() * 12 + regDate.month() > today.year() * 12 + today.month();
}

void SessionFlow::afterLogin()
{
    tProgramData& data = *m_ctx.data;
    if (!data.CurrentUser)
        return;
    const tUser& user = *data.CurrentUser;
    if (onTitle)
        onTitle(QStringLiteral("Grips-Fix ") + user.Name);

    const QDate today = data.SessionStart.date();
    const QDate regDate = user.RegDate.date();
    if (regDateInLaterMonth(regDate, today)) {
        xMessageDlg(dateRuleMessage(user.Name, regDate, today), mkAchtung, btn::OK, 0);
        m_ctx.ReadOnlySession = true;
    }

    if (!QFile::exists(QDir(m_ctx.paths.ProgramDir).filePath(QStringLiteral("std.cfg"))))
        xMessageDlg(QStringLiteral("Achtung: die Datei std.cfg konnte leider nicht gefunden "
                                   "werden.\n\rDie Aufgaben können nicht geladen werden!"),
                    mkFehlermeldung, btn::OK, 0);

    QCoreApplication::processEvents();
    data.createSessionLists();

    data.TelTotal = data.MemoTotal = data.WortTotal = data.BildTotal = 0;
    for (int i = 1; i <= 3; ++i) {
        data.TelTotal += data.TelCount[i];
        data.MemoTotal += data.MemoCount[i];
        data.WortTotal += data.WortCount[i];
        data.BildTotal += data.BildCount[i];
    }
}

void SessionFlow::saveOnExit()
{
    tProgramData& data = *m_ctx.data;
    // With no detective logged in there are no session lists and nothing to save.
    if (!m_ctx.ReadOnlySession && data.CurrentUser && data.SessionListsCreated)
        settleSave(m_ctx, data.storeSession(), true);
    data.releaseLogin();
}

bool SessionFlow::storeQuietly()
{
    tProgramData& data = *m_ctx.data;
    if (m_ctx.ReadOnlySession || !data.CurrentUser || !data.SessionListsCreated)
        return true;
    const auto outcome = data.storeSession();
    return outcome != tProgramData::SaveOutcome::Failed;
}

void SessionFlow::refreshLogin()
{
    m_ctx.data->refreshLogin();
}

bool settleSave(AppContext& ctx, tProgramData::SaveOutcome outcome, bool atExit)
{
    using Outcome = tProgramData::SaveOutcome;
    tProgramData& data = *ctx.data;
    for (;;) {
        switch (outcome) {
        case Outcome::Saved:
        case Outcome::Nothing:
        case Outcome::ReadOnly:
            return true;
        case Outcome::Gone:
            xMessageDlg(data.saveFailureText(), mkFehlermeldung, btn::OK, 0);
            // Nothing of this session may bring the detective back.
            ctx.ReadOnlySession = true;
            return true;
        case Outcome::Failed:
            break;
        }
        const int answer = xRetryDlg(data.saveFailureText(),
                                     atExit ? QStringLiteral("&Ohne Speichern beenden")
                                            : QStringLiteral("&Ohne Speichern weiter"));
        if (answer != mrRetry)
            return false;
        outcome = data.storeSession();
    }
}

} // namespace gf

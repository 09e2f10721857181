#include "shell/TTuerDlg.h"
#include "toolkit/TxMsgDlg.h"

#include "core/data/ProgramData.h"
#include "platform/PlatformDialogs.h"
#include "toolkit/AppContext.h"
#include "toolkit/Look.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>

namespace gf {

namespace {
// An entry of the door screen's name plates that stands for "register someone new".
const QString kNewDetective = QStringLiteral("Neuer Detektiv...");
} // namespace

TTuerDlg::TTuerDlg(AppContext& ctx, QWidget* parent) : TWindow(ctx, parent)
{
    setWindowTitle(QStringLiteral("Eintritt zum Programm"));
    look::setBackground(this, look::background());
}

tProgramData& TTuerDlg::data() const
{
    Q_ASSERT(ctx().data);
    return *ctx().data;
}


bool TTuerDlg::AddUser(quint16 slot)
{
    bool ok = false;
    QString typed = xInputBox(QStringLiteral("Neuer Detektiv:"), QStringLiteral("Name:"),
                              QString(), &ok, QApplication::activeWindow());
    if (!ok)
        typed.clear();
    // The data model trims, checks and refuses the name with its own messages.
    return data().registerUser(typed, slot);
}

bool TTuerDlg::Opened(quint16 slot)
{
    tProgramData& d = data();
    d.UserFileName = d.DataDir + d.UserName + QStringLiteral(".mnu");
    if (d.UserName != kNewDetective && d.userFileExists(d.UserName)) {
        if (!lockLogin(d.UserName))
            return false;
        if (!d.openUser()) {
            d.abandonLogin();
            return false;
        }
        d.commitLogin();
        return true;
    }
    if (!AddUser(slot))
        return false;
    // The record carries the trimmed name; looking up the name as typed would miss a
    // detective registered with blanks around his name.
    auto user = d.FindUser(d.UserName);
    if (!user || !lockLogin(d.UserName))
        return false;
    d.CurrentUser = user;
    d.commitLogin();
    return true;
}

bool TTuerDlg::lockLogin(const QString& name)
{
    tProgramData& d = data();
    switch (d.lockLogin(name)) {
    case tProgramData::LoginOutcome::Taken:
        return true;
    case tProgramData::LoginOutcome::Held:
        xMessageDlg(d.loginMessage(), mkHinweis, btn::OK, 0);
        break;
    case tProgramData::LoginOutcome::Failed:
        xMessageDlg(d.loginMessage(), mkFehlermeldung, btn::OK, 0);
        break;
    }
    return false;
}

} // namespace gf

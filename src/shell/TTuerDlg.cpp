#include "shell/TTuerDlg.h"

#include "data/ProgramData.h"
#include "platform/PlatformDialogs.h"
#include "widgets/AppContext.h"
#include "widgets/Look.h"

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

bool TTuerDlg::UserFileExists(const QString& dataDir, const QString& name)
{
    if (dataDir.isEmpty() || !tProgramData::IsSafeFileStem(name))
        return false;
    if (QFileInfo::exists(dataDir + name + QStringLiteral(".mnu")))
        return true;
    // A folder written where case does not count may hold "Name.MNU".
    const QString wanted = name + QStringLiteral(".mnu");
    const QStringList entries = QDir(dataDir).entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& entry : entries) {
        if (entry.compare(wanted, Qt::CaseInsensitive) == 0 && entry.startsWith(name))
            return true;
    }
    return false;
}

bool TTuerDlg::AddUser(quint16 slot)
{
    bool ok = false;
    QString typed = InputBox(QStringLiteral("Neuer Detektiv:"), QStringLiteral("Name:"), QString(),
                             &ok, QApplication::activeWindow());
    if (!ok)
        typed.clear();
    // The data model trims, checks and refuses the name with its own messages.
    return data().RegisterUser(typed, slot);
}

bool TTuerDlg::Opened(quint16 slot)
{
    tProgramData& d = data();
    d.UserFileName = d.DataDir + d.UserName + QStringLiteral(".mnu");
    if (d.UserName != kNewDetective && UserFileExists(d.DataDir, d.UserName))
        return d.OpenUser();

    if (!AddUser(slot))
        return false;
    // The record carries the trimmed name; looking up the name as typed would miss a
    // detective registered with blanks around his name.
    auto user = d.FindUser(d.UserName);
    if (!user)
        return false;
    d.CurrentUser = user;
    return true;
}

} // namespace gf

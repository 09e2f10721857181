#pragma once

#include "toolkit/TWindow.h"
#include <QString>

namespace gf {

class tProgramData;

// The door screen. Its own screen is never shown in the course of the program; it
// holds the two operations that register a detective and open one, which the login
// dialog uses. Both work on the data model of the current AppContext.
class TTuerDlg final : public TWindow
{
    Q_OBJECT

public:
    explicit TTuerDlg(AppContext& ctx, QWidget* parent = nullptr);

    // Asks for a name and registers a new detective in DataDir; slot is stored as the
    // record's RegSlot. True when the detective's files were written. Afterwards
    // UserName is the name (trimmed), also when it was refused as already registered.
    bool AddUser(quint16 slot);

    // Opens the detective UserName: loads his user file and makes his record
    // CurrentUser. The name "Neuer Detektiv..." and a name without user file start a
    // registration instead. True when CurrentUser was set.
    bool Opened(quint16 slot);


private:
    // Marks the detective as logged in here; says so when another program has him.
    bool lockLogin(const QString& name);
    tProgramData& data() const;
};

} // namespace gf

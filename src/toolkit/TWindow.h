#pragma once

#include <QDialog>
#include <QPointer>

namespace gf {

struct AppContext;

// Root of the program's windows. Every window is made once and shown many times, so
// what must start afresh for each use goes into FormShow(), which runs when a caller
// shows the window; a restore from minimised, which only repeats the show event, keeps
// the window's state.
class TWindow : public QDialog
{
    Q_OBJECT
public:
    TWindow(AppContext& ctx, QWidget* parent);

    AppContext& ctx() const { return m_ctx; }

    void setVisible(bool visible) override;

protected:
    virtual void FormShow() {}
    // A window that covers the screen: frameless, so no window manager pushes it down by
    // a title bar, and kept within the part of the screen that panels leave free.
    void setFillsScreen();

private:
    AppContext& m_ctx;
    bool m_fillsScreen = false;
    QPointer<QWidget> m_before; // active when this window was shown
};

} // namespace gf

#pragma once

#include "widgets/TWindow.h"
#include <QString>

namespace gf {

class TPushButton;
class TStatusBar;

// Common ground of the program's windows: laid out for 800 x 600 design pixels with
// absolute geometry (the start-up adaptation stretches every child), the window
// background, a status bar at the foot, and the key of the window's help page.
// Escape and the window's close request end the window with mrCancel; a window that
// must ask first overrides reject().
class TBaseDlg : public TWindow
{
    Q_OBJECT
public:
    explicit TBaseDlg(AppContext& ctx, QWidget* parent = nullptr);

    // Help page opened by showHelp() (see ShowHelpPage).
    QString HelpKey;

    TStatusBar* statusBar() const { return m_statusBar; }

    // A standard button: 130 x 30, button face, bold Arial 13 pixels. Without a parent it
    // goes into the status bar; place it in FormShow with the status bar's rules.
    TPushButton* makeButton(const QString& caption, QWidget* parent = nullptr, int width = 130,
                            int height = 30);

public slots:
    void showHelp();
    void reject() override;

private:
    TStatusBar* m_statusBar;
};

} // namespace gf

#pragma once

#include "toolkit/TWindow.h"
#include <QString>

class QFont;
class QRect;

namespace gf {

class TImage;
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
    // A status-bar button of a window that handles its keys itself: the button takes
    // neither the focus nor Enter.
    TPushButton* makeBarButton(const QString& caption, int width = 130);
    // Docks the status bar, clears its text and puts `first` and `last` at its edges.
    void dockStatusBar(QWidget* first, QWidget* last);
    // Centres `w` across the window, a sixtieth of the screen's height above the status
    // bar.
    void placeAboveStatusBar(QWidget* w);
    // The status bar's font. Raises the bar over the children made so far, so call it
    // once the window's own children are made.
    void setStatusFont(const QFont& font);
    // A picture behind everything else at `geometry`, stretched over it.
    TImage* makeBackImage(const QRect& geometry);

public slots:
    void showHelp();
    void reject() override;

private:
    TStatusBar* m_statusBar;
};

} // namespace gf

#pragma once

#include "toolkit/TWindow.h"
#include <chrono>

class QTimer;

namespace gf {

class TImage;

// A full-screen picture with the logo over it, shown for a fixed time or until a
// click: the base of the title and the closing screen.
class TPictureScreen : public TWindow
{
    Q_OBJECT
public:
    TImage* Image;  // the picture, stretched over the window
    TImage* Image1; // the logo, at its own size
    QTimer* Timer;

public slots:
    void reject() override;

protected:
    TPictureScreen(AppContext& ctx, std::chrono::milliseconds shown, QWidget* parent);

    // Fits the window to the screen, loads both pictures and centres the logo
    // horizontally around logoCentreY.
    void showPictures(const QString& picture, const QString& logo, int logoCentreY);
    // A missing picture must not keep the screen up: the timer runs regardless.
    void startTimer();
    void finish();

private:
    std::chrono::milliseconds m_shown;
};

// Loads BmpDir + name into an image; reports a picture that cannot be read.
bool loadScreenPicture(TImage* image, const QString& bmpDir, const QString& name);

} // namespace gf

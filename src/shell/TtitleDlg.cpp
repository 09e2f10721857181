#include "shell/TtitleDlg.h"

#include "shell/AppContext.h"
#include "widgets/TImage.h"

namespace gf {

using namespace std::chrono_literals;

TtitleDlg::TtitleDlg(QWidget* parent) : TPictureScreen(4000ms, parent)
{
    connect(Image, &TImage::clicked, this, &TtitleDlg::finish);
    connect(Image1, &TImage::clicked, this, &TtitleDlg::finish);
}

void TtitleDlg::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    showPictures(QStringLiteral("titel.bmp"), QStringLiteral("logo.bmp"),
                 AppContext::current().ScreenHeight / 4 * 3);
    startTimer();
}

} // namespace gf

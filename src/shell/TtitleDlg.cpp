#include "shell/TtitleDlg.h"

#include "toolkit/AppContext.h"
#include "toolkit/TImage.h"

namespace gf {

using namespace std::chrono_literals;

TtitleDlg::TtitleDlg(AppContext& ctx, QWidget* parent) : TPictureScreen(ctx, 4000ms, parent)
{
    connect(Image, &TImage::clicked, this, &TtitleDlg::finish);
    connect(Image1, &TImage::clicked, this, &TtitleDlg::finish);
}

void TtitleDlg::FormShow()
{
    showPictures(QStringLiteral("titel.bmp"), QStringLiteral("logo.bmp"),
                 ctx().ScreenHeight / 4 * 3);
    startTimer();
}

} // namespace gf

#include "shell/TPictureScreen.h"

#include "core/data/MessageSink.h"
#include "core/data/Timing.h"
#include "platform/MediaFiles.h"
#include "toolkit/AppContext.h"
#include "toolkit/Look.h"
#include "toolkit/TImage.h"
#include "toolkit/TxMsgDlg.h"

#include <QTimer>

namespace gf {

bool loadScreenPicture(TImage* image, const QString& bmpDir, const QString& name)
{
    const QString path = mediaPath(bmpDir, name);
    if (image->load(path))
        return true;
    xMessageDlg(QStringLiteral("Die Datei „%1“\n\rkonnte nicht geladen werden.").arg(name),
                mkFehlermeldung, btn::OK, 0);
    return false;
}

TPictureScreen::TPictureScreen(AppContext& ctx, std::chrono::milliseconds shown, QWidget* parent)
    : TWindow(ctx, parent), m_shown(shown)
{
    setFillsScreen();
    setWindowTitle(QStringLiteral("Grips-Fix"));
    look::setBackground(this, look::background());
    resize(800, 600);

    Image = new TImage(this);
    Image->setStretch(true);
    Image->setGeometry(rect());
    Image1 = new TImage(this);
    Image1->setAutoSize(true);

    Timer = new QTimer(this);
    Timer->setTimerType(Qt::PreciseTimer);
    Timer->setInterval(timing::scaledMs(m_shown));
    connect(Timer, &QTimer::timeout, this, &TPictureScreen::finish);
}

void TPictureScreen::showPictures(const QString& picture, const QString& logo, int logoCentreY)
{
    const AppContext& ctx = this->ctx();
    resize(ctx.ScreenWidth, ctx.ScreenHeight);
    Image->hide();
    Image1->hide();
    Image->setGeometry(rect());
    loadScreenPicture(Image, ctx.paths.BmpDir, picture);
    loadScreenPicture(Image1, ctx.paths.BmpDir, logo);
    Image1->move((width() - Image1->width()) / 2, logoCentreY - Image1->height() / 2);
    Image->show();
    Image1->show();
    Image->lower();
}

void TPictureScreen::startTimer()
{
    Timer->setInterval(timing::scaledMs(m_shown));
    Timer->start();
}

void TPictureScreen::finish()
{
    Timer->stop();
    if (isVisible())
        done(mrOk);
}

void TPictureScreen::reject()
{
    Timer->stop();
    done(mrCancel);
}

} // namespace gf

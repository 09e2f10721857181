#include "shell/TtitleDlg.h"

#include "data/MessageSink.h"
#include "data/Timing.h"
#include "platform/MediaFiles.h"
#include "shell/AppContext.h"
#include "shell/TxMsgDlg.h"
#include "widgets/Look.h"
#include "widgets/TImage.h"

#include <QTimer>

namespace gf {

using namespace std::chrono_literals;

bool LoadScreenPicture(TImage* image, const QString& name)
{
    const QString path = MediaPath(AppContext::current().paths.BmpDir, name);
    if (image->load(path))
        return true;
    xMessageDlg(QStringLiteral("Die Datei \"%1\"\n\rkonnte nicht geladen werden.").arg(name),
                mkFehlermeldung, btn::OK, 0);
    return false;
}

TtitleDlg::TtitleDlg(QWidget* parent) : QDialog(parent)
{
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setWindowTitle(QStringLiteral(" "));
    look::setBackground(this, look::background());
    resize(800, 600);

    Image = new TImage(this);
    Image->setStretch(true);
    Image->setGeometry(rect());
    Image1 = new TImage(this);
    Image1->setAutoSize(true);

    Timer = new QTimer(this);
    Timer->setTimerType(Qt::PreciseTimer);
    Timer->setInterval(timing::scaledMs(4000ms));
    connect(Timer, &QTimer::timeout, this, &TtitleDlg::finish);
    connect(Image, &TImage::clicked, this, &TtitleDlg::finish);
    connect(Image1, &TImage::clicked, this, &TtitleDlg::finish);
}

void TtitleDlg::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    const AppContext& ctx = AppContext::current();
    resize(ctx.ScreenWidth, ctx.ScreenHeight);
    Image->hide();
    Image->setGeometry(rect());
    LoadScreenPicture(Image, QStringLiteral("titel.bmp"));
    Image->show();
    LoadScreenPicture(Image1, QStringLiteral("logo.bmp"));
    Image1->move((width() - Image1->width()) / 2, ctx.ScreenHeight / 4 * 3 - Image1->height() / 2);
    Image1->raise();
    // a missing picture must not keep the screen up: the timer runs regardless
    Timer->setInterval(timing::scaledMs(4000ms));
    Timer->start();
}

void TtitleDlg::finish()
{
    Timer->stop();
    if (isVisible())
        done(mrOk);
}

void TtitleDlg::reject()
{
    Timer->stop();
    done(mrCancel);
}

} // namespace gf

#include "toolkit/THelpWin.h"

#include "core/data/ProgramData.h"
#include "platform/MediaFiles.h"
#include "toolkit/AppContext.h"
#include "toolkit/Look.h"
#include "toolkit/RtfReader.h"
#include "toolkit/TPushButton.h"
#include "toolkit/TStatusBar.h"
#include "toolkit/TxMsgDlg.h"

#include <QFileInfo>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTextEdit>

namespace gf {

namespace {

HelpPageHook& helpHook()
{
    static HelpPageHook hook;
    return hook;
}

} // namespace

QString helpPageFile(const QString& key)
{
    if (key == QLatin1String("stat"))
        return QStringLiteral("stat.rtf");
    if (key.compare(QLatin1String("Fortschritt"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("fortschritt.rtf");
    if (key.compare(QLatin1String("MainWin"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("start.rtf");
    static const char* const keys[] = {
        "XErklaerDlg",   "XErklaer2Dlg",   "XErklaer3Dlg",   "WortDlg",       "AbfragDlg",
        "BmpErklaerDlg", "BmpErklaer2Dlg", "BmpErklaer3Dlg", "BmpKatDlg",     "XBmpAbfragDlg",
        "TeleInfoDlg",   "TelDlg",         "SndBmpInfDlg",   "BmpPresentDlg", "LevelKatDlg",
        "ChooseTelMode", "ChooseBmpMode",  "LevelDlg",       "ExportDlg"};
    const QString upper = key.toUpper();
    for (int i = 0; i < int(std::size(keys)); ++i)
        if (upper == QString::fromLatin1(keys[i]).toUpper())
            return QStringLiteral("hlp%1.rtf").arg(i + 1);
    return {};
}

HelpPageHook setHelpPageHook(HelpPageHook hook)
{
    HelpPageHook previous = std::move(helpHook());
    helpHook() = std::move(hook);
    return previous;
}

void ShowHelpPage(AppContext& ctx, const QString& key)
{
    const QString file = helpPageFile(key);
    if (file.isEmpty())
        return;
    const QString path = mediaPath(ctx.paths.HlpDir, file);
    if (const HelpPageHook& hook = helpHook()) {
        hook(path);
        return;
    }
    THelpWin win(ctx);
    win.PageFile = path;
    if (!win.loadPage()) {
        xMessageDlg(QStringLiteral("Die Hilfeseite „%1“\n\rkonnte nicht geladen werden:\n\r%2")
                        .arg(QFileInfo(path).fileName(), win.errorString()),
                    mkFehlermeldung, btn::OK, 0);
        return;
    }
    win.exec();
}

THelpWin::THelpWin(AppContext& ctx, QWidget* parent) : TBaseDlg(ctx, parent)
{
    setWindowTitle(QStringLiteral("Hilfe [Programmrelease: 05.02.2010]"));

    RichEdit = new QTextEdit(this);
    RichEdit->setReadOnly(true);
    RichEdit->setFont(look::comic(19));
    RichEdit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    RichEdit->setFrameShape(QFrame::NoFrame);
    QPalette pal = RichEdit->palette();
    pal.setColor(QPalette::Base, look::silver());
    pal.setColor(QPalette::Text, Qt::black);
    RichEdit->setPalette(pal);
    RichEdit->document()->setDocumentMargin(16);

    OKBtn = makeButton(QStringLiteral("&OK"));
    OKBtn->setDefault(true);
    connect(OKBtn, &QPushButton::clicked, this, [this] { done(mrOk); });
}

bool THelpWin::loadPage()
{
    RtfReader reader(RichEdit->document());
    reader.setBaseFont(RichEdit->font());
    reader.setBaseColour(Qt::black);
    const bool ok = reader.readFile(PageFile);
    // a page with flaws is still shown as far as it could be read; only an unreadable
    // file is an error
    m_error = reader.errorString();
    if (!ok && !QFileInfo(PageFile).isReadable())
        return false;
    // The reader leaves the cursor at the end, and showing the window scrolls to it.
    RichEdit->moveCursor(QTextCursor::Start);
    RichEdit->verticalScrollBar()->setValue(0);
    return true;
}

void THelpWin::FormShow()
{
    const AppContext& ctx = this->ctx();
    resize(ctx.ScreenWidth, ctx.ScreenHeight);
    setWindowTitle(QStringLiteral("Hilfe [Programmrelease: 05.02.2010]"));
    statusBar()->dock();
    statusBar()->placeCentre(OKBtn);
    statusBar()->setText(QString());
    OKBtn->setFocus();
}

void THelpWin::resizeEvent(QResizeEvent* event)
{
    TBaseDlg::resizeEvent(event);
    statusBar()->dock();
    RichEdit->setGeometry(0, 0, width(), height() - statusBar()->height());
    statusBar()->placeCentre(OKBtn);
}

void THelpWin::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_F11) {
        xMessageDlg(QStringLiteral("Datenspeicherpfad: ") + (ctx().data ? ctx().data->DataDir : QString()), mkHinweis, btn::OK,
                    2222);
        return;
    }
    TBaseDlg::keyPressEvent(event);
}

} // namespace gf

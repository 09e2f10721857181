#include "exercises/results/TSingleTipDlg.h"

#include "core/data/MessageSink.h"
#include "core/data/ProgramData.h"
#include "core/results/TipRules.h"
#include "platform/MediaFiles.h"
#include "platform/PlatformDialogs.h"
#include "toolkit/AppContext.h"
#include "toolkit/Look.h"
#include "toolkit/RtfReader.h"
#include "toolkit/TPushButton.h"
#include "toolkit/TStatusBar.h"

#include <QFile>
#include <QLabel>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>

namespace gf {

TSingleTipDlg::TSingleTipDlg(AppContext& ctx, QWidget* parent) : TBaseDlg(ctx, parent)
{
    HelpKey.clear();

    pn_Top = new QLabel(this);
    pn_Top->setGeometry(0, 0, 800, 60);
    pn_Top->setAlignment(Qt::AlignCenter);
    pn_Top->setFont(look::comic(23, true));
    look::setTextColour(pn_Top, look::silver());

    RichEdit = new QTextEdit(this);
    RichEdit->setGeometry(20, 60, 760, 480);
    RichEdit->setReadOnly(true);
    RichEdit->setFrameShape(QFrame::NoFrame);
    RichEdit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    RichEdit->setFont(look::comic(23, true));
    QPalette pal = RichEdit->palette();
    pal.setColor(QPalette::Base, look::background());
    pal.setColor(QPalette::Text, Qt::white);
    RichEdit->setPalette(pal);
    // The scroll bar in the window's blues rather than a white strip.
    QPalette bar = RichEdit->verticalScrollBar()->palette();
    bar.setColor(QPalette::Window, look::background().darker(115));
    bar.setColor(QPalette::Base, look::background().darker(115));
    bar.setColor(QPalette::Button, look::statusBar());
    bar.setColor(QPalette::Light, look::statusBar().lighter(130));
    bar.setColor(QPalette::Dark, look::background().darker(130));
    RichEdit->verticalScrollBar()->setPalette(bar);

    OKBtn = makeButton(QStringLiteral("&Weiter"));
    OKBtn->setDefault(true);
    connect(OKBtn, &QPushButton::clicked, this, [this] { done(mrOk); });
}

QString TSingleTipDlg::TipText(const QString& line) const
{
    const tProgramData* data = ctx().data;
    const QString name = data && data->CurrentUser ? data->CurrentUser->Name : QString();
    return tips::TipText(line, name);
}

void TSingleTipDlg::FormShow()
{
    statusBar()->dock();
    OKBtn->move(statusBar()->width() - 15 - OKBtn->width(),
                (statusBar()->height() - OKBtn->height()) / 2);
    statusBar()->setText(QString());
    setWindowTitle(tips::areaName(TipKind));
    writeTip();
    OKBtn->setFocus();
}

void TSingleTipDlg::writeTip()
{
    WordScore = PictureScore = TelScore = MemoScore = tips::NoScore;
    const AppContext& ctx = this->ctx();
    const tProgramData* data = ctx.data;
    double score = tips::NoScore;
    int tipNo = 0;
    switch (TipKind) {
    case ExerciseKind::Wort:
        if (data)
            score = WordScore = tips::lastSearchScore(data->WortStatList);
        tipNo = ctx.WortTipNo;
        break;
    case ExerciseKind::Bild:
        if (data)
            score = PictureScore = tips::lastSearchScore(data->BildStatList);
        tipNo = ctx.BildTipNo;
        break;
    case ExerciseKind::Tel:
        if (data)
            score = TelScore = tips::lastBestSpan(data->TelStatList);
        tipNo = ctx.TelTipNo;
        break;
    case ExerciseKind::Memo:
        if (data)
            score = MemoScore = tips::lastBestSpan(data->MemoStatList);
        tipNo = ctx.MemoTipNo;
        break;
    default:
        break;
    }
    pn_Top->setText(tips::Heading(TipKind));
    RichEdit->clear();

    const tips::Tip tip = tips::chooseTip(TipKind, score, tipNo);
    if (tip.kind == tips::Tip::Lines)
        writeLines(tip.paragraphs);
    else if (tip.kind == tips::Tip::Page)
        loadPage(tip.page);
}

void TSingleTipDlg::writeLines(const QStringList& paragraphs)
{
    QTextCursor cursor(RichEdit->document());
    QTextBlockFormat block;
    block.setAlignment(Qt::AlignHCenter);
    QTextCharFormat normal;
    normal.setFont(look::comic(23, false));
    normal.setForeground(Qt::white);
    for (int i = 0; i < paragraphs.size(); ++i) {
        if (i == 0)
            cursor.setBlockFormat(block);
        else
            cursor.insertBlock(block);
        cursor.setCharFormat(normal);
        cursor.insertText(TipText(paragraphs.at(i)), normal);
    }
    RichEdit->moveCursor(QTextCursor::Start);
}

bool TSingleTipDlg::loadPage(int page)
{
    const QString path =
        mediaPath(ctx().paths.HlpDir, QStringLiteral("tip%1.rtf").arg(page));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        RichEdit->clear();
        showPlainMessage(QStringLiteral("Fehler: ") + file.errorString(), this);
        return false;
    }
    file.close();
    RtfReader reader(RichEdit->document());
    reader.setBaseFont(look::comic(23, true));
    reader.setBaseColour(Qt::white);
    // A damaged page is shown as far as it can be read.
    reader.readFile(path);
    RichEdit->moveCursor(QTextCursor::Start);
    return true;
}

} // namespace gf

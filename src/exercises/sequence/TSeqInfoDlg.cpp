#include "exercises/sequence/TSeqInfoDlg.h"

#include "core/data/MessageSink.h"
#include "toolkit/Look.h"
#include "toolkit/TPushButton.h"
#include "toolkit/TStatusBar.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>

namespace gf {

TSeqInfoDlg::TSeqInfoDlg(AppContext& ctx, QWidget* parent, const QString& helpKey,
                         const QStringList& lines)
    : TBaseDlg(ctx, parent)
{
    HelpKey = helpKey;

    Text = new QTextEdit(this);
    Text->setGeometry(40, 60, 720, 460);
    Text->setReadOnly(true);
    Text->setFrameShape(QFrame::NoFrame);
    Text->setFocusPolicy(Qt::NoFocus); // the text never keeps the focus
    Text->setTextInteractionFlags(Qt::NoTextInteraction);
    Text->viewport()->setAutoFillBackground(false);
    Text->setAutoFillBackground(false);
    Text->setStyleSheet(QStringLiteral("background: transparent;"));
    Text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Text->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Text->setFont(look::comic(24, true));
    look::setTextColour(Text, Qt::white);
    Text->setPlainText(lines.join(u'\n'));
    QTextCursor cursor(Text->document());
    cursor.select(QTextCursor::Document);
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    cursor.mergeBlockFormat(centred);

    HelpBtn = makeButton(QStringLiteral("&Hilfe"));
    CancelBtn = makeButton(QStringLiteral("&Zurück"));
    OKBtn = makeButton(QStringLiteral("&Weiter"));
    HelpBtn->setAutoDefault(false);
    CancelBtn->setAutoDefault(false);
    OKBtn->setDefault(true);
    connect(HelpBtn, &QPushButton::clicked, this, &TSeqInfoDlg::showHelp);
    connect(CancelBtn, &QPushButton::clicked, this, [this] { done(mrCancel); });
    connect(OKBtn, &QPushButton::clicked, this, [this] { done(mrOk); });
}

void TSeqInfoDlg::FormShow()
{
    statusBar()->dock();
    statusBar()->placeCentred(HelpBtn, CancelBtn, OKBtn);
    statusBar()->setText(QString());
    OKBtn->setFocus();
}

} // namespace gf

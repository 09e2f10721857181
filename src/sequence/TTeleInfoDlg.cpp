#include "sequence/TTeleInfoDlg.h"

#include "data/MessageSink.h"
#include "widgets/Look.h"
#include "widgets/TPushButton.h"
#include "widgets/TStatusBar.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>

namespace gf {

const QStringList& TTeleInfoDlg::Lines()
{
    static const QStringList lines = {
        QStringLiteral("In dieser Aufgabe erhalten Sie "),
        QStringLiteral("Rufnummern über eine Auskunft."),
        QString(),
        QStringLiteral("Sie stellen die Verbindung zu den"),
        QStringLiteral("Mitarbeitern des Detektivs her."),
        QString(),
        QStringLiteral("Rufnummern bitte merken + wählen!"),
        QString(),
        QStringLiteral("Die Länge der Rufnummern wächst,"),
        QStringLiteral("wenn Sie richtig wählen!"),
        QString(),
        QString(),
    };
    return lines;
}

TTeleInfoDlg::TTeleInfoDlg(AppContext& ctx, QWidget* parent) : TBaseDlg(ctx, parent)
{
    setWindowTitle(QStringLiteral("Telefonvermittlung"));
    HelpKey = QStringLiteral("TeleInfoDlg");

    Memo1 = new QTextEdit(this);
    Memo1->setGeometry(40, 60, 720, 460);
    Memo1->setReadOnly(true);
    Memo1->setFrameShape(QFrame::NoFrame);
    Memo1->setFocusPolicy(Qt::NoFocus); // the text never keeps the focus
    Memo1->setTextInteractionFlags(Qt::NoTextInteraction);
    Memo1->viewport()->setAutoFillBackground(false);
    Memo1->setAutoFillBackground(false);
    Memo1->setStyleSheet(QStringLiteral("background: transparent;"));
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->setFont(look::comic(24, true));
    look::setTextColour(Memo1, Qt::white);
    Memo1->setPlainText(Lines().join(u'\n'));
    QTextCursor cursor(Memo1->document());
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
    connect(HelpBtn, &QPushButton::clicked, this, &TTeleInfoDlg::showHelp);
    connect(CancelBtn, &QPushButton::clicked, this, [this] { done(mrCancel); });
    connect(OKBtn, &QPushButton::clicked, this, [this] { done(mrOk); });
}

void TTeleInfoDlg::FormShow()
{
    statusBar()->dock();
    statusBar()->placeCentred(HelpBtn, CancelBtn, OKBtn);
    statusBar()->setText(QString());
    OKBtn->setFocus();
}

} // namespace gf

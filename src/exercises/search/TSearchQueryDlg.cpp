#include "exercises/search/TSearchQueryDlg.h"

#include "core/data/MessageSink.h"
#include "core/search/tSearchRun.h"
#include "toolkit/AppContext.h"
#include "toolkit/Look.h"
#include "toolkit/TPushButton.h"
#include "toolkit/TStatusBar.h"
#include "toolkit/TxMsgDlg.h"

#include <QKeyEvent>
#include <QLabel>

namespace gf {

TSearchQueryDlg::TSearchQueryDlg(AppContext& ctx, QWidget* parent, int questionHeight,
                                 int questionPixels, const QString& reminder)
    : TBaseDlg(ctx, parent), m_reminder(reminder)
{
    setWindowTitle(QStringLiteral("Abfrage"));
    setFocusPolicy(Qt::StrongFocus);

    QuestionPanel = new QLabel(this);
    QuestionPanel->setGeometry(0, 0, 800, questionHeight);
    QuestionPanel->setAlignment(Qt::AlignCenter);
    QuestionPanel->setFont(look::comic(questionPixels, true));
    look::setBackground(QuestionPanel, look::statusBar());
    look::setTextColour(QuestionPanel, Qt::white);

    // The window keeps the focus: Enter, the arrows and the numbers are its own.
    HelpBtn = makeBarButton(QStringLiteral("&Hilfe"));
    OKBtn = makeBarButton(QStringLiteral("&Weiter"));
    connect(HelpBtn, &QPushButton::clicked, this, &TBaseDlg::showHelp);
    connect(OKBtn, &QPushButton::clicked, this, &TSearchQueryDlg::OKBtnClick);
}

void TSearchQueryDlg::FormShow()
{
    dockStatusBar(HelpBtn, OKBtn);
    QuestionPanel->setGeometry(0, 0, width(), QuestionPanel->height());
    VerdictLabel->hide();
    CorrectionLabel->hide();
    Answered = false;

    const search::tQuery query = Run ? Run->query() : search::tQuery{};
    Target = query.Target;
    Category = query.Category;
    showOptions(query);
    QuestionPanel->setText(query.Question);
    if (ctx().testRun)
        statusBar()->setText(QStringLiteral("[%1]").arg(Target));
    if (Run && Category < 0)
        xMessageDlg(QStringLiteral("ungültige Kategorie"), mkFehlermeldung, btn::OK, 0);
    setFocus();
}

void TSearchQueryDlg::Choose(int index)
{
    if (Answered || !Run || !isOption(index))
        return;
    const search::tVerdict verdict = Run->Answer(index);
    Answered = true;
    VerdictLabel->setText(verdict.Verdict);
    look::setTextColour(VerdictLabel, verdict.Correct ? RightColour : WrongColour);
    int sought = -1;
    if (!verdict.Correct && verdict.Sought >= 0 && verdict.Sought < MaxOptions) {
        sought = verdict.Sought;
        CorrectionLabel->setText(verdict.Correction);
        look::setTextColour(CorrectionLabel, SoughtColour);
    }
    showVerdict(index, verdict.Correct, sought);
}

void TSearchQueryDlg::OKBtnClick()
{
    if (!Answered && answerable()) {
        xMessageDlg(m_reminder, mkAchtung, btn::OK, 0);
        return;
    }
    done(mrOk);
}

void TSearchQueryDlg::reject()
{
    OKBtnClick();
}

bool TSearchQueryDlg::handleKey(QKeyEvent* event)
{
    const int key = event->key();
    if (!Answered && key >= Qt::Key_1 && key < Qt::Key_1 + optionCount()) {
        Choose(key - Qt::Key_1);
        return true;
    }
    switch (key) {
    case Qt::Key_Up:
    case Qt::Key_Left:
    case Qt::Key_Down:
    case Qt::Key_Right:
        if (!Answered)
            moveHighlight(key);
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (!Answered && highlighted() >= 0)
            Choose(highlighted());
        else
            OKBtnClick();
        return true;
    default:
        return false;
    }
}

void TSearchQueryDlg::keyPressEvent(QKeyEvent* event)
{
    if (handleKey(event)) {
        event->accept();
        return;
    }
    TBaseDlg::keyPressEvent(event);
}

} // namespace gf

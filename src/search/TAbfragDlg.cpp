#include "search/TAbfragDlg.h"

#include "data/MessageSink.h"
#include "search/SearchArt.h"
#include "search/tSearchRun.h"
#include "widgets/AppContext.h"
#include "widgets/Look.h"
#include "widgets/TPushButton.h"
#include "widgets/TRadioGroup.h"
#include "widgets/TStatusBar.h"
#include "widgets/TxMsgDlg.h"

#include <QKeyEvent>
#include <QLabel>

namespace gf {

namespace {
constexpr int MarkerSize = 40;
constexpr int MarkerGap = 8;
const QColor Lime(0, 255, 0);
const QColor Red(255, 0, 0);
const QColor Aqua(0, 255, 255);

QLabel* feedbackLabel(QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setFont(look::arial(24, true));
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setGeometry(10, 0, 270, 40);
    label->hide();
    return label;
}
} // namespace

TAbfragDlg::TAbfragDlg(AppContext& ctx, QWidget* parent) : TBaseDlg(ctx, parent)
{
    HelpKey = QStringLiteral("AbfragDlg");
    setFocusPolicy(Qt::StrongFocus);

    QuestionPanel = new QLabel(this);
    QuestionPanel->setGeometry(0, 0, 800, 81);
    QuestionPanel->setAlignment(Qt::AlignCenter);
    QuestionPanel->setFont(look::comic(24, true));
    look::setBackground(QuestionPanel, look::statusBar());
    look::setTextColour(QuestionPanel, Qt::white);

    RadioGroup = new TRadioGroup(QString(), this);
    RadioGroup->setFont(look::arial(27, true));
    RadioGroup->setGeometry(340, 130, 297, 353);
    connect(RadioGroup, &TRadioGroup::itemClicked, this, &TAbfragDlg::Choose);

    using searchart::Marker;
    for (std::size_t i = 0; i < 4; ++i) {
        Richtig[i] = new TMarker(Marker::Sought, this);
        Falsch[i] = new TMarker(Marker::Wrong, this);
        OK[i] = new TMarker(Marker::Right, this);
        for (TMarker* m : {Richtig[i], Falsch[i], OK[i]}) {
            m->setGeometry(RadioGroup->x() - MarkerGap - MarkerSize, 0, MarkerSize, MarkerSize);
            m->hide();
        }
    }
    VerdictLabel = feedbackLabel(this);
    CorrectionLabel = feedbackLabel(this);

    // The window keeps the focus: Enter, the arrows and the numbers are its own.
    HelpBtn = makeBarButton(QStringLiteral("&Hilfe"));
    OKBtn = makeBarButton(QStringLiteral("&Weiter"));
    connect(HelpBtn, &QPushButton::clicked, this, &TBaseDlg::showHelp);
    connect(OKBtn, &QPushButton::clicked, this, &TAbfragDlg::OKBtnClick);
}

void TAbfragDlg::FormShow()
{
    dockStatusBar(HelpBtn, OKBtn);
    QuestionPanel->setGeometry(0, 0, width(), QuestionPanel->height());
    for (std::size_t i = 0; i < 4; ++i)
        for (TMarker* m : {Richtig[i], Falsch[i], OK[i]})
            m->hide();
    VerdictLabel->hide();
    CorrectionLabel->hide();
    Answered = false;

    const search::tQuery query = Run ? Run->query() : search::tQuery{};
    Target = query.Target;
    Category = query.Category;
    RadioGroup->setItems(query.Options);
    RadioGroup->setEnabled(true);
    for (int i = 0; i < RadioGroup->count(); ++i) {
        RadioGroup->item(i)->setFocusPolicy(Qt::NoFocus);
        RadioGroup->item(i)->installEventFilter(this);
    }
    QuestionPanel->setText(query.Question);
    if (ctx().testRun)
        statusBar()->setText(QStringLiteral("[%1]").arg(Target));
    if (Run && Category < 0)
        xMessageDlg(QStringLiteral("ungültige Kategorie"), mkFehlermeldung, btn::OK, 0);
    setFocus();
}

void TAbfragDlg::mark(TMarker* marker, QLabel* label, int row)
{
    const QWidget* item = RadioGroup->item(row);
    if (!item)
        return;
    const int centre = RadioGroup->y() + item->y() + item->height() / 2;
    if (marker) {
        marker->move(RadioGroup->x() - marker->width() - MarkerGap, centre - marker->height() / 2);
        marker->show();
    }
    if (label) {
        const int right = RadioGroup->x() - MarkerGap - (marker ? marker->width() : 0) - MarkerGap;
        label->setGeometry(MarkerGap, centre - label->height() / 2, right - MarkerGap,
                           label->height());
        label->show();
    }
}

void TAbfragDlg::Choose(int index)
{
    if (Answered || !Run || index < 0 || index >= RadioGroup->count())
        return;
    const search::tVerdict verdict = Run->Answer(index);
    Answered = true;
    RadioGroup->setItemIndex(index);
    RadioGroup->setEnabled(false);
    setFocus();
    VerdictLabel->setText(verdict.Verdict);
    look::setTextColour(VerdictLabel, verdict.Correct ? Lime : Red);
    const auto row = std::size_t(std::min(index, 3));
    if (verdict.Correct) {
        mark(OK[row], VerdictLabel, index);
        return;
    }
    mark(Falsch[row], VerdictLabel, index);
    if (verdict.Sought >= 0 && verdict.Sought < 4) {
        CorrectionLabel->setText(verdict.Correction);
        look::setTextColour(CorrectionLabel, Aqua);
        mark(Richtig[std::size_t(verdict.Sought)], CorrectionLabel, verdict.Sought);
    }
}

void TAbfragDlg::OKBtnClick()
{
    // A question without options (an inconsistent table) cannot be answered; it must
    // not hold the trainee.
    if (!Answered && RadioGroup->count() > 0) {
        xMessageDlg(QStringLiteral("Bitte wählen Sie ein Wort aus der Liste aus!"), mkAchtung,
                    btn::OK, 0);
        return;
    }
    done(mrOk);
}

void TAbfragDlg::reject()
{
    OKBtnClick();
}

int TAbfragDlg::highlighted() const
{
    for (int i = 0; i < RadioGroup->count(); ++i)
        if (RadioGroup->item(i)->hasFocus())
            return i;
    return -1;
}

void TAbfragDlg::highlight(int index)
{
    if (TRadioItem* item = RadioGroup->item(index))
        item->setFocus();
}

bool TAbfragDlg::handleKey(QKeyEvent* event)
{
    const int key = event->key();
    const int n = RadioGroup->count();
    if (!Answered && key >= Qt::Key_1 && key < Qt::Key_1 + n) {
        Choose(key - Qt::Key_1);
        return true;
    }
    switch (key) {
    case Qt::Key_Up:
    case Qt::Key_Left:
    case Qt::Key_Down:
    case Qt::Key_Right: {
        if (Answered || n == 0)
            return true;
        const int at = highlighted();
        const bool down = key == Qt::Key_Down || key == Qt::Key_Right;
        if (at < 0)
            highlight(down ? 0 : n - 1);
        else
            highlight((at + (down ? 1 : n - 1)) % n);
        return true;
    }
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

void TAbfragDlg::keyPressEvent(QKeyEvent* event)
{
    if (handleKey(event)) {
        event->accept();
        return;
    }
    TBaseDlg::keyPressEvent(event);
}

bool TAbfragDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && qobject_cast<TRadioItem*>(watched))
        return handleKey(static_cast<QKeyEvent*>(event));
    return TBaseDlg::eventFilter(watched, event);
}

} // namespace gf

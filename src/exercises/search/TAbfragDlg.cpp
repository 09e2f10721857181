#include "exercises/search/TAbfragDlg.h"

#include "core/search/SearchRules.h"
#include "exercises/search/SearchArt.h"
#include "toolkit/Look.h"
#include "toolkit/TRadioGroup.h"

#include <QKeyEvent>
#include <QLabel>

namespace gf {

namespace {
constexpr int MarkerSize = 40;
constexpr int MarkerGap = 8;

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

TAbfragDlg::TAbfragDlg(AppContext& ctx, QWidget* parent)
    : TSearchQueryDlg(ctx, parent, 81, 24,
                      QStringLiteral("Bitte wählen Sie ein Wort aus der Liste aus!"))
{
    HelpKey = QStringLiteral("AbfragDlg");

    RadioGroup = new TRadioGroup(QString(), this);
    RadioGroup->setAccessibleName(QStringLiteral("Antwort"));
    RadioGroup->setFont(look::arial(27, true));
    RadioGroup->setGeometry(340, 130, 297, 353);
    connect(RadioGroup, &TRadioGroup::itemClicked, this, &TAbfragDlg::Choose);

    using searchart::Marker;
    for (std::size_t i = 0; i < MaxOptions; ++i) {
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
}

void TAbfragDlg::showOptions(const search::tQuery& query)
{
    for (std::size_t i = 0; i < MaxOptions; ++i)
        for (TMarker* m : {Richtig[i], Falsch[i], OK[i]})
            m->hide();
    RadioGroup->setItems(query.Options);
    RadioGroup->setEnabled(true);
    for (int i = 0; i < RadioGroup->count(); ++i) {
        RadioGroup->item(i)->setFocusPolicy(Qt::NoFocus);
        RadioGroup->item(i)->installEventFilter(this);
    }
}

int TAbfragDlg::optionCount() const
{
    return RadioGroup->count();
}

bool TAbfragDlg::answerable() const
{
    // A question without options (an inconsistent table) cannot be answered.
    return RadioGroup->count() > 0;
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

void TAbfragDlg::showVerdict(int index, bool correct, int sought)
{
    RadioGroup->setItemIndex(index);
    RadioGroup->setEnabled(false);
    setFocus();
    const auto row = std::size_t(std::min(index, MaxOptions - 1));
    mark(correct ? OK[row] : Falsch[row], VerdictLabel, index);
    if (sought >= 0)
        mark(Richtig[std::size_t(sought)], CorrectionLabel, sought);
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

void TAbfragDlg::moveHighlight(int key)
{
    const int n = RadioGroup->count();
    if (n == 0)
        return;
    const int at = highlighted();
    const bool down = key == Qt::Key_Down || key == Qt::Key_Right;
    if (at < 0)
        highlight(down ? 0 : n - 1);
    else
        highlight((at + (down ? 1 : n - 1)) % n);
}

bool TAbfragDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && qobject_cast<TRadioItem*>(watched))
        return handleKey(static_cast<QKeyEvent*>(event));
    return TSearchQueryDlg::eventFilter(watched, event);
}

} // namespace gf

#include "exercises/search/TBmpAbfragDlg.h"

#include "core/search/SearchRules.h"
#include "platform/MediaFiles.h"
#include "toolkit/AppContext.h"
#include "toolkit/Look.h"
#include "toolkit/TImage.h"

#include <QLabel>
#include <QPainter>
#include <algorithm>

namespace gf {

namespace {
constexpr int PictureSize = 170;
constexpr int FramePen = 5;
const QPoint PictureAt[4] = {{152, 102}, {432, 102}, {152, 330}, {432, 330}};
const QColor HighlightColour(255, 255, 0);

QLabel* feedbackLabel(QWidget* parent, const QColor& colour)
{
    auto* label = new QLabel(parent);
    label->setFont(look::arial(19, true));
    label->setContentsMargins(6, 0, 6, 0);
    // Sits on the frame line and interrupts it, so it reads as the frame's caption.
    look::setBackground(label, look::background());
    look::setTextColour(label, colour);
    label->hide();
    return label;
}
} // namespace

TBmpAbfragDlg::TBmpAbfragDlg(AppContext& ctx, QWidget* parent)
    : TSearchQueryDlg(ctx, parent, 47, 27,
                      QStringLiteral("Bitte beantworten Sie zunächst die Frage!"))
{
    HelpKey = QStringLiteral("XBMpAbfragDlg");
    resize(800, 572);

    for (std::size_t i = 0; i < MaxOptions; ++i) {
        auto* pic = new TImage(this);
        pic->setStretch(true);
        pic->setGeometry(QRect(PictureAt[i], QSize(PictureSize, PictureSize)));
        pic->setCursor(Qt::PointingHandCursor);
        connect(pic, &TImage::clicked, this, [this, i] { Choose(int(i)); });
        Pictures[i] = pic;
    }
    VerdictLabel = feedbackLabel(this, RightColour);
    CorrectionLabel = feedbackLabel(this, SoughtColour);
}

void TBmpAbfragDlg::showOptions(const search::tQuery& query)
{
    // The 2 x 2 pictures centred across the window.
    const int gridLeft = Pictures[0]->x();
    const int gridRight = Pictures[1]->geometry().right();
    const int dx = (width() - (gridRight - gridLeft + 1)) / 2 - gridLeft;
    for (TImage* pic : Pictures)
        pic->move(pic->x() + dx, pic->y());
    ItemIndex = -1;
    m_sought = -1;
    m_correct = false;
    m_highlight = -1;

    for (std::size_t i = 0; i < MaxOptions; ++i) {
        const QString name = query.Options.value(qsizetype(i));
        PictureNames[i + 1] = name;
        // A picture that cannot be read stays empty.
        if (name.isEmpty() ||
            !Pictures[i]->load(resolveMediaFile(ctx().paths.BmpDir, name + QStringLiteral(".bmp"))))
            Pictures[i]->clear();
        Pictures[i]->setVisible(i < std::size_t(query.Options.size()));
    }
    update();
}

bool TBmpAbfragDlg::isOption(int index) const
{
    return index >= 0 && index < MaxOptions && Pictures[std::size_t(index)]->isVisible();
}

bool TBmpAbfragDlg::answerable() const
{
    return Run && std::any_of(Pictures.begin(), Pictures.end(),
                              [](const TImage* p) { return !p->isHidden(); });
}

QRect TBmpAbfragDlg::frameRect(int index) const
{
    const QRect pic = Pictures[std::size_t(index)]->geometry();
    // Close enough around the picture that neighbouring frames stay apart.
    const int m = pic.width() / 8 + 3;
    return pic.adjusted(-m, -m, m, m);
}

void TBmpAbfragDlg::placeLabel(QLabel* label, int index)
{
    const QRect frame = frameRect(index);
    const QRect pic = Pictures[std::size_t(index)]->geometry();
    label->adjustSize();
    label->move(pic.left() + 15 * pic.width() / PictureSize, frame.top() - label->height() / 2);
    label->show();
    label->raise();
}

void TBmpAbfragDlg::showVerdict(int index, bool correct, int sought)
{
    ItemIndex = index;
    m_correct = correct;
    m_sought = sought;
    m_highlight = -1;
    placeLabel(VerdictLabel, index);
    if (sought >= 0)
        placeLabel(CorrectionLabel, sought);
    update();
}

QList<TBmpAbfragDlg::Frame> TBmpAbfragDlg::frames() const
{
    QList<Frame> out;
    if (!Answered) {
        if (m_highlight >= 0)
            out.append({m_highlight, HighlightColour});
        return out;
    }
    // The same colours as the labels, on every repaint.
    if (m_correct) {
        out.append({ItemIndex, RightColour});
    } else if (m_sought >= 0) {
        out.append({ItemIndex, WrongColour});
        out.append({m_sought, SoughtColour});
    }
    return out;
}

void TBmpAbfragDlg::paintEvent(QPaintEvent* event)
{
    TSearchQueryDlg::paintEvent(event);
    QPainter p(this);
    for (const Frame& f : frames()) {
        QPen pen(f.colour, FramePen);
        pen.setJoinStyle(Qt::MiterJoin);
        if (!Answered)
            pen.setStyle(Qt::DashLine);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        p.drawRect(frameRect(f.index));
    }
}

void TBmpAbfragDlg::moveHighlight(int key)
{
    // The pictures stand 2 x 2: left/right change the column, up/down the row.
    if (m_highlight < 0)
        m_highlight = 0;
    else if (key == Qt::Key_Left || key == Qt::Key_Right)
        m_highlight ^= 1;
    else
        m_highlight ^= 2;
    if (Pictures[std::size_t(m_highlight)]->isHidden())
        m_highlight = 0;
    update();
}

} // namespace gf

#include "search/TBmpAbfragDlg.h"

#include "data/MessageSink.h"
#include "platform/MediaFiles.h"
#include "search/tSearchRun.h"
#include "widgets/AppContext.h"
#include "widgets/Look.h"
#include "widgets/TImage.h"
#include "widgets/TPushButton.h"
#include "widgets/TStatusBar.h"
#include "widgets/TxMsgDlg.h"

#include <QKeyEvent>
#include <algorithm>
#include <QLabel>
#include <QPainter>

namespace gf {

namespace {
constexpr int PictureSize = 170;
constexpr int FramePen = 5;
const QPoint PictureAt[4] = {{152, 102}, {432, 102}, {152, 330}, {432, 330}};
const QColor Lime(0, 255, 0);
const QColor Red(255, 0, 0);
const QColor Aqua(0, 255, 255);
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

TBmpAbfragDlg::TBmpAbfragDlg(AppContext& ctx, QWidget* parent) : TBaseDlg(ctx, parent)
{
    HelpKey = QStringLiteral("XBMpAbfragDlg");
    resize(800, 572);
    setFocusPolicy(Qt::StrongFocus);

    QuestionPanel = new QLabel(this);
    QuestionPanel->setGeometry(0, 0, 800, 47);
    QuestionPanel->setAlignment(Qt::AlignCenter);
    QuestionPanel->setFont(look::comic(27, true));
    look::setBackground(QuestionPanel, look::statusBar());
    look::setTextColour(QuestionPanel, Qt::white);

    for (std::size_t i = 0; i < 4; ++i) {
        auto* pic = new TImage(this);
        pic->setStretch(true);
        pic->setGeometry(QRect(PictureAt[i], QSize(PictureSize, PictureSize)));
        pic->setCursor(Qt::PointingHandCursor);
        connect(pic, &TImage::clicked, this, [this, i] { Choose(int(i)); });
        Pictures[i] = pic;
    }
    VerdictLabel = feedbackLabel(this, Lime);
    CorrectionLabel = feedbackLabel(this, Aqua);

    // The window keeps the focus: Enter, the arrows and the numbers are its own.
    HelpBtn = makeBarButton(QStringLiteral("&Hilfe"));
    OKBtn = makeBarButton(QStringLiteral("&Weiter"));
    connect(HelpBtn, &QPushButton::clicked, this, &TBaseDlg::showHelp);
    connect(OKBtn, &QPushButton::clicked, this, &TBmpAbfragDlg::OKBtnClick);
}

void TBmpAbfragDlg::FormShow()
{
    dockStatusBar(HelpBtn, OKBtn);
    QuestionPanel->setGeometry(0, 0, width(), QuestionPanel->height());
    // The 2 x 2 pictures centred across the window.
    const int gridLeft = Pictures[0]->x();
    const int gridRight = Pictures[1]->geometry().right();
    const int dx = (width() - (gridRight - gridLeft + 1)) / 2 - gridLeft;
    for (TImage* pic : Pictures)
        pic->move(pic->x() + dx, pic->y());
    VerdictLabel->hide();
    CorrectionLabel->hide();
    Answered = false;
    ItemIndex = -1;
    m_sought = -1;
    m_correct = false;
    m_highlight = -1;

    const search::tQuery query = Run ? Run->query() : search::tQuery{};
    Target = query.Target;
    Category = query.Category;
    for (std::size_t i = 0; i < 4; ++i) {
        const QString name = query.Options.value(qsizetype(i));
        PictureNames[i + 1] = name;
        // A picture that cannot be read stays empty.
        if (name.isEmpty() ||
            !Pictures[i]->load(ResolveMediaFile(ctx().paths.BmpDir, name + QStringLiteral(".bmp"))))
            Pictures[i]->clear();
        Pictures[i]->setVisible(i < std::size_t(query.Options.size()));
    }
    QuestionPanel->setText(query.Question);
    if (ctx().testRun)
        statusBar()->setText(QStringLiteral("[%1]").arg(Target));
    if (Run && Category < 0)
        xMessageDlg(QStringLiteral("ungültige Kategorie"), mkFehlermeldung, btn::OK, 0);
    setFocus();
    update();
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

void TBmpAbfragDlg::Choose(int index)
{
    if (Answered || !Run || index < 0 || index >= 4 || !Pictures[std::size_t(index)]->isVisible())
        return;
    const search::tVerdict verdict = Run->Answer(index);
    Answered = true;
    ItemIndex = index;
    m_correct = verdict.Correct;
    m_sought = verdict.Sought >= 0 && verdict.Sought < 4 ? verdict.Sought : -1;
    m_highlight = -1;
    VerdictLabel->setText(verdict.Verdict);
    look::setTextColour(VerdictLabel, verdict.Correct ? Lime : Red);
    placeLabel(VerdictLabel, index);
    if (!verdict.Correct && m_sought >= 0) {
        CorrectionLabel->setText(verdict.Correction);
        placeLabel(CorrectionLabel, m_sought);
    }
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
        out.append({ItemIndex, Lime});
    } else if (m_sought >= 0) {
        out.append({ItemIndex, Red});
        out.append({m_sought, Aqua});
    }
    return out;
}

void TBmpAbfragDlg::paintEvent(QPaintEvent* event)
{
    TBaseDlg::paintEvent(event);
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

void TBmpAbfragDlg::OKBtnClick()
{
    const bool answerable = Run && std::any_of(Pictures.begin(), Pictures.end(),
                                               [](const TImage* p) { return !p->isHidden(); });
    if (!Answered && answerable) {
        xMessageDlg(QStringLiteral("Bitte beantworten Sie zunächst die Frage!"), mkAchtung,
                    btn::OK, 0);
        return;
    }
    done(mrOk);
}

void TBmpAbfragDlg::reject()
{
    OKBtnClick();
}

void TBmpAbfragDlg::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    if (!Answered && key >= Qt::Key_1 && key <= Qt::Key_4) {
        event->accept();
        Choose(key - Qt::Key_1);
        return;
    }
    switch (key) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_Right:
        event->accept();
        if (Answered)
            return;
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
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        event->accept();
        if (!Answered && m_highlight >= 0)
            Choose(m_highlight);
        else
            OKBtnClick();
        return;
    default:
        break;
    }
    TBaseDlg::keyPressEvent(event);
}

} // namespace gf

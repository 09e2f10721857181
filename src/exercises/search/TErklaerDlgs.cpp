#include "exercises/search/TErklaerDlgs.h"

#include "core/data/MessageSink.h"
#include "core/data/Records.h"
#include "platform/MediaFiles.h"
#include "toolkit/AppContext.h"
#include "toolkit/Look.h"
#include "toolkit/TImage.h"
#include "toolkit/TPushButton.h"
#include "toolkit/TStatusBar.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>

namespace gf {

namespace {
const QString Caption = QStringLiteral("Grips-Fix: Einleitung");
} // namespace

QStringList overviewLines()
{
    return {QStringLiteral("Die Fahndung konzentriert sich im Moment"),
            QStringLiteral("auf Zeugenaussagen zu folgenden Themen:")};
}

TSearchIntroDlg::TSearchIntroDlg(AppContext& ctx, QWidget* parent, const QString& helpKey,
                                 int backResult, const QFont& font, Qt::Alignment alignment,
                                 const QRect& textArea)
    : TBaseDlg(ctx, parent), m_backResult(backResult), m_alignment(alignment)
{
    setWindowTitle(Caption);
    HelpKey = helpKey;

    Memo1 = new QTextEdit(this);
    Memo1->setGeometry(textArea);
    Memo1->setReadOnly(true);
    Memo1->setFrameShape(QFrame::NoFrame);
    // The text never takes the focus, so Enter always means "&Weiter".
    Memo1->setFocusPolicy(Qt::NoFocus);
    Memo1->setTextInteractionFlags(Qt::NoTextInteraction);
    Memo1->viewport()->setAutoFillBackground(false);
    Memo1->setAutoFillBackground(false);
    Memo1->setStyleSheet(QStringLiteral("background: transparent;"));
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->setFont(font);
    look::setTextColour(Memo1, Qt::white);

    HelpBtn = makeButton(QStringLiteral("&Hilfe"));
    BackBtn = makeButton(QStringLiteral("&Zurück"));
    OKBtn = makeButton(QStringLiteral("&Weiter"));
    HelpBtn->setAutoDefault(false);
    BackBtn->setAutoDefault(false);
    OKBtn->setDefault(true);
    connect(HelpBtn, &QPushButton::clicked, this, &TBaseDlg::showHelp);
    connect(BackBtn, &QPushButton::clicked, this, [this] { done(m_backResult); });
    connect(OKBtn, &QPushButton::clicked, this, [this] { done(mrOk); });
}

void TSearchIntroDlg::setLines(const QStringList& lines)
{
    Memo1->setPlainText(lines.join(u'\n'));
    QTextCursor cursor(Memo1->document());
    cursor.select(QTextCursor::Document);
    QTextBlockFormat format;
    format.setAlignment(m_alignment);
    cursor.mergeBlockFormat(format);
}

QStringList TSearchIntroDlg::lines() const
{
    return Memo1->toPlainText().split(u'\n');
}

void TSearchIntroDlg::FormShow()
{
    statusBar()->dock();
    statusBar()->placeCentred(HelpBtn, BackBtn, OKBtn);
    statusBar()->setText(QString());
    setWindowTitle(Caption);
    OKBtn->setFocus();
}

// ---------------------------------------------------------------------------------

const QStringList& TXErklaerDlg::Lines()
{
    static const QStringList lines = {
        QStringLiteral("In Ihrer Memo-Detektei gehen alle "),
        QStringLiteral("Fahndungsmeldungen ein."),
        QString(),
        QStringLiteral("Leider widersprechen sich die Zeugen ständig."),
        QString(),
        QStringLiteral("Merken Sie sich stets die aktuellsten Meldungen."),
        QString(),
        QStringLiteral("Sie werden nach einer der letzten 4 Meldungen "),
        QStringLiteral("befragt!"),
    };
    return lines;
}

TXErklaerDlg::TXErklaerDlg(AppContext& ctx, QWidget* parent)
    : TSearchIntroDlg(ctx, parent, QStringLiteral("XErklaerDlg"), mrCancel,
                      look::comic(27, true), Qt::AlignHCenter, QRect(30, 50, 740, 470))
{
    setLines(Lines());
}

const QStringList& TBmpErklaerDlg::Lines()
{
    static const QStringList lines = {
        QStringLiteral("Die Festnahme des Täters steht bevor!"),
        QString(),
        QStringLiteral("Sie erhalten per Fax verschiedene Bilder,"),
        QStringLiteral("die Hinweise für den Zugriff enthalten."),
        QString(),
        QStringLiteral("Leider erhalten Sie ständig neue Informationen."),
        QString(),
        QStringLiteral("Nur die letzten Meldungen sind entscheidend."),
        QString(),
        QStringLiteral("Merken Sie sich daher stets die aktuellsten "),
        QStringLiteral("Meldungen."),
        QString(),
        QStringLiteral("Eins der letzten vier Faxbilder ermöglicht den Zugriff!"),
    };
    return lines;
}

TBmpErklaerDlg::TBmpErklaerDlg(AppContext& ctx, QWidget* parent)
    : TSearchIntroDlg(ctx, parent, QStringLiteral("BmpErklaerDlg"), mrCancel,
                      look::comic(24, true), Qt::AlignHCenter, QRect(30, 20, 740, 520))
{
    setLines(Lines());
}

// ---------------------------------------------------------------------------------

TTableIntroDlg::TTableIntroDlg(AppContext& ctx, QWidget* parent, const QString& helpKey)
    : TSearchIntroDlg(ctx, parent, helpKey, mrBack, look::comic(19), Qt::AlignLeft,
                      QRect(50, 40, 700, 480))
{
}

void TTableIntroDlg::setTableLines(const QStringList& lines)
{
    if (!lines.isEmpty())
        setLines(lines);
}

TXErklaer2Dlg::TXErklaer2Dlg(AppContext& ctx, QWidget* parent)
    : TTableIntroDlg(ctx, parent, QStringLiteral("XErklaer2Dlg"))
{
}

TBmpErkl2Dlg::TBmpErkl2Dlg(AppContext& ctx, QWidget* parent)
    : TTableIntroDlg(ctx, parent, QStringLiteral("BmpErklaer2Dlg"))
{
}

// ---------------------------------------------------------------------------------

namespace {
const int BoxLeft[4] = {20, 211, 401, 592};
const int ItemTop[4] = {98, 146, 193, 241};
const QColor BoxColour[2] = {QColor(82, 191, 160), QColor(215, 250, 240)};

QLabel* boxPanel(QWidget* parent, const QFont& font, const QRect& geometry, bool border)
{
    auto* label = new QLabel(parent);
    label->setFont(font);
    label->setAlignment(Qt::AlignCenter);
    label->setGeometry(geometry);
    look::setTextColour(label, Qt::black);
    if (border) {
        label->setFrameStyle(QFrame::Box | QFrame::Plain);
        label->setLineWidth(1);
    }
    return label;
}
} // namespace

TXErklaer3Dlg::TXErklaer3Dlg(AppContext& ctx, QWidget* parent)
    : TSearchIntroDlg(ctx, parent, QStringLiteral("XErklaer3Dlg"), mrBack, look::comic(21, true),
                      Qt::AlignHCenter, QRect(20, 30, 760, 90))
{
    setLines(overviewLines());
    for (std::size_t b = 0; b < 4; ++b) {
        auto* box = new QFrame(this);
        box->setGeometry(BoxLeft[b], 134, 185, 300);
        look::setBackground(box, BoxColour[b % 2]);
        Boxes[b] = box;
        CategoryPanels[b] = boxPanel(box, look::arial(19, true), QRect(5, 30, 174, 50), true);
        for (std::size_t r = 0; r < 4; ++r)
            ItemPanels[b][r] =
                boxPanel(box, look::arial(16), QRect(5, ItemTop[r], 174, 42), false);
    }
}

void TXErklaer3Dlg::FormShow()
{
    TSearchIntroDlg::FormShow();
    setLines(overviewLines());
    // Everything blank first: a smaller table must not leave words of an earlier one.
    for (std::size_t b = 0; b < 4; ++b) {
        CategoryPanels[b]->clear();
        for (QLabel* item : ItemPanels[b])
            item->clear();
        Boxes[b]->hide();
    }
    if (!Table)
        return;
    for (int c = 2; c <= std::min<int>(Table->ColCount, 5); ++c) {
        const auto b = std::size_t(c - 2);
        Boxes[b]->show();
        CategoryPanels[b]->setText(Table->Cells[1][c].Text);
        for (int r = 3; r <= std::min<int>(Table->RowCount, 6); ++r)
            ItemPanels[b][std::size_t(r - 3)]->setText(Table->Cells[r][c].Text);
    }
}

// ---------------------------------------------------------------------------------

namespace {
const int HeaderLeft[4] = {55, 231, 407, 583};
const int PictureLeft[4] = {82, 258, 434, 610};
const int PictureTop[4] = {95, 206, 317, 428};
} // namespace

TBmpErklaer3Dlg::TBmpErklaer3Dlg(AppContext& ctx, QWidget* parent)
    : TSearchIntroDlg(ctx, parent, QStringLiteral("BmpErklaer3Dlg"), mrBack,
                      look::comic(19, true), Qt::AlignHCenter, QRect(20, 2, 760, 60))
{
    setLines(overviewLines());
    for (std::size_t c = 0; c < 4; ++c) {
        auto* header = new QLabel(this);
        header->setGeometry(HeaderLeft[c], 64, 160, 27);
        header->setFont(look::arial(16, true));
        header->setAlignment(Qt::AlignCenter);
        look::setBackground(header, Qt::white);
        look::setTextColour(header, Qt::black);
        Headers[c] = header;
        for (std::size_t r = 0; r < 4; ++r) {
            auto* pic = new TImage(this);
            pic->setStretch(true);
            pic->setGeometry(PictureLeft[c], PictureTop[r], 105, 105);
            Pictures[c][r] = pic;
        }
    }
}

void TBmpErklaer3Dlg::FormShow()
{
    TSearchIntroDlg::FormShow();
    setLines(overviewLines());
    // Everything blank first: a smaller table must not leave pictures of an earlier one.
    for (std::size_t c = 0; c < 4; ++c) {
        Headers[c]->clear();
        Headers[c]->hide();
        for (TImage* pic : Pictures[c])
            pic->clear();
    }
    if (!Table)
        return;
    const QString& bmpDir = ctx().paths.BmpDir;
    for (int c = 2; c <= std::min<int>(Table->ColCount, 5); ++c) {
        const auto col = std::size_t(c - 2);
        Headers[col]->setText(Table->Cells[1][c].Text);
        Headers[col]->show();
        for (int r = 3; r <= std::min<int>(Table->RowCount, 6); ++r)
            Pictures[col][std::size_t(r - 3)]->load(
                resolveMediaFile(bmpDir, Table->Cells[r][c].Text + QStringLiteral(".bmp")));
    }
}

} // namespace gf

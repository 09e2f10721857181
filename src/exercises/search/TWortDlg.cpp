#include "exercises/search/TWortDlg.h"

#include "render/PanelCanvas.h"
#include "core/data/Random.h"
#include "core/sequence/StepClock.h"
#include "exercises/search/TAbfragDlg.h"
#include "platform/MediaFiles.h"
#include "toolkit/AppContext.h"
#include "toolkit/Look.h"
#include "toolkit/TImage.h"
#include "toolkit/TStatusBar.h"

#include <QPainter>

namespace gf {

TWordPanel::TWordPanel(QWidget* parent) : QFrame(parent)
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
    setFont(look::arial(64, true));
    // Paints every pixel itself: a new word costs one paint of this panel and nothing
    // behind it.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TWordPanel::setText(const QString& text)
{
    if (text == m_text)
        return;
    m_text = text;
    update();
}

void TWordPanel::draw(QPainter& p, const QString& text)
{
    p.fillRect(rect(), look::statusBar());
    drawFrame(&p);
    if (text.isEmpty())
        return;
    p.setFont(font());
    p.setPen(Qt::white);
    drawWatchedText(p, contentsRect(), Qt::AlignCenter, text);
}

void TWordPanel::prepare(const QStringList& words)
{
    m_drawn.clear();
    for (const QString& word : words + QStringList{QString()}) {
        const qreal ratio = devicePixelRatioF();
        QPixmap pixmap(size() * ratio);
        pixmap.setDevicePixelRatio(ratio);
        QPainter p(&pixmap);
        draw(p, word);
        m_drawn.insert(word, pixmap);
    }
}

void TWordPanel::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const auto it = m_drawn.constFind(m_text);
    if (it != m_drawn.cend() && it->deviceIndependentSize() == QSizeF(size()))
        p.drawPixmap(0, 0, *it);
    else
        draw(p, m_text);
}

TWortDlg::TWortDlg(AppContext& ctx, QWidget* parent)
    : TWortDlg(ctx, parent, preciseStepClock(), rng())
{
}

TWortDlg::TWortDlg(AppContext& ctx, QWidget* parent, StepClock& clock, Random& random)
    : TSearchRunDlg(ctx, parent, tSearchRun::Kind::Word, clock, random,
                    QStringLiteral("Abfrage (hier!) &starten"), look::ButtonWidth)
{
    HelpKey = QStringLiteral("WortDlg");

    BackImage = makeBackImage(QRect(0, 132, 800, 468));

    WordPanel = new TWordPanel(this);
    WordPanel->setGeometry(0, 0, 800, 132);

    setStatusFont(look::arial(19));
}

void TWortDlg::placeStage()
{
    WordPanel->setGeometry(0, 0, width(), WordPanel->height());
    const QRect below(0, WordPanel->height(), width(), height() - WordPanel->height());
    BackImage->setGeometry(below);
    // No picture: no background, and nothing reported.
    BackImage->loadFitted(resolveMediaFile(ctx().paths.BmpDir, QStringLiteral("beach.bmp")));
}

bool TWortDlg::prepareItems()
{
    // Every word of the table drawn now, not while it is due on the screen.
    const std::shared_ptr<tConfig>& table = Tables.Current;
    QStringList words;
    if (table)
        for (int r = 3; r <= table->RowCount; ++r)
            for (int c = 2; c <= table->ColCount; ++c)
                words << table->Cells[r][c].Text;
    WordPanel->prepare(words);
    return true;
}

void TWortDlg::showItem(const QString& text)
{
    WordPanel->setText(text);
    WordPanel->repaint();
}

QWidget* TWortDlg::stage() const
{
    return WordPanel;
}

void TWortDlg::clearItem()
{
    WordPanel->setText(QString());
    WordPanel->repaint();
}

TSearchQueryDlg& TWortDlg::queryDlg()
{
    if (!AbfragDlg && !m_ownAbfragDlg)
        m_ownAbfragDlg = new TAbfragDlg(ctx(), this);
    return AbfragDlg ? *AbfragDlg : *m_ownAbfragDlg;
}

} // namespace gf

#include "exercises/search/TBmpKatDlg.h"

#include "core/data/MessageSink.h"
#include "core/data/Random.h"
#include "core/sequence/StepClock.h"
#include "exercises/search/SearchArt.h"
#include "exercises/search/TBmpAbfragDlg.h"
#include "platform/MediaFiles.h"
#include "toolkit/AppContext.h"
#include "toolkit/Look.h"
#include "toolkit/TStatusBar.h"
#include "toolkit/TxMsgDlg.h"

#include <QFrame>
#include <QImage>
#include <QImageReader>

namespace gf {

namespace {
constexpr int FaxSize = 128;
constexpr int FaxTop = 248;
constexpr int PanelTop = 24;
constexpr int PanelSize = 208;
constexpr int PictureInset = (PanelSize - 170) / 2;
} // namespace

TBmpKatDlg::TBmpKatDlg(AppContext& ctx, QWidget* parent)
    : TBmpKatDlg(ctx, parent, preciseStepClock(), rng())
{
}

TBmpKatDlg::TBmpKatDlg(AppContext& ctx, QWidget* parent, StepClock& clock, Random& random)
    : TSearchRunDlg(ctx, parent, tSearchRun::Kind::Picture, clock, random,
                    QStringLiteral("Faxabfrage (hier!) &starten"), 180)
{
    HelpKey = QStringLiteral("BmpKatDlg");

    PicturePanel = new QFrame(this);
    PicturePanel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    PicturePanel->setLineWidth(2);
    look::setBackground(PicturePanel, Qt::white);
    PicturePanel->setGeometry(292, PanelTop, PanelSize, PanelSize);
    Image = new TStagePicture(Qt::white, PicturePanel);
    Image->setGeometry(PictureInset, PictureInset, 170, 170);

    for (int i = 0; i < searchart::FaxFrameCount; ++i) {
        auto* frame = new TFaxFrame(i + 1, look::background(), this);
        frame->setGeometry((800 - FaxSize) / 2, FaxTop, FaxSize, FaxSize);
        frame->setVisible(i == 0);
        frame->ensurePolished();
        // A click on the fax machine starts a pass like the start button.
        connect(frame, &TStagePicture::clicked, this, &TBmpKatDlg::StartPanelClick);
        FaxFrames[std::size_t(i)] = frame;
    }

    setStatusFont(look::comic(19));
}

std::vector<MemoryRange> TBmpKatDlg::presentationBuffers()
{
    // The pass's pictures too: each is copied to the stage at its onset.
    std::vector<MemoryRange> buffers = paintBuffers(this);
    for (const QString& name : Run().sequenceTexts())
        buffers.push_back(pixelsOf(m_pictures.value(name)));
    return buffers;
}

void TBmpKatDlg::placeStage()
{
    PicturePanel->move((width() - PicturePanel->width()) / 2, PicturePanel->y());
    for (TFaxFrame* f : FaxFrames)
        f->move((width() - f->width()) / 2, f->y());
    showFaxFrame(1);
}

QPixmap TBmpKatDlg::picture(const QString& name)
{
    const auto it = m_pictures.constFind(name);
    if (it != m_pictures.cend())
        return *it;
    QPixmap pic(resolveMediaFile(ctx().paths.BmpDir, name + QStringLiteral(".bmp")));
    if (!pic.isNull())
        pic = pic.scaled(Image->size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    m_pictures.insert(name, pic);
    return pic;
}

QString missingPicturesText(const QStringList& files)
{
    constexpr int Named = 5;
    QString text = QStringLiteral("Die Bildfahndung kann nicht beginnen, weil Bilder fehlen:");
    for (const QString& file : files.mid(0, Named))
        text += QStringLiteral("\n\r") + file;
    if (files.size() > Named)
        text += QStringLiteral("\n\rund %1 weitere.").arg(files.size() - Named);
    return text;
}

QString TBmpKatDlg::missingMedia() const
{
    const std::shared_ptr<tConfig>& table = Tables.Current;
    if (!table)
        return {};
    QStringList missing;
    for (int r = 3; r <= table->RowCount; ++r)
        for (int c = 2; c <= table->ColCount; ++c) {
            const QString name = table->Cells[r][c].Text + QStringLiteral(".bmp");
            const QString path = resolveMediaFile(ctx().paths.BmpDir, name);
            if (path.isEmpty() || !QImageReader(path).canRead())
                missing << name;
        }
    return missing.isEmpty() ? QString() : missingPicturesText(missing);
}

bool TBmpKatDlg::prepareItems()
{
    // Every picture of the table is read and scaled now, so showing one at its due
    // time is a plain copy.
    m_pictures.clear();
    const std::shared_ptr<tConfig>& table = Tables.Current;
    if (!table)
        return true;
    QStringList missing;
    QImage scratch(Image->size(), QImage::Format_ARGB32_Premultiplied);
    for (int r = 3; r <= table->RowCount; ++r)
        for (int c = 2; c <= table->ColCount; ++c) {
            const QString& name = table->Cells[r][c].Text;
            const QPixmap pic = picture(name);
            if (pic.isNull()) {
                missing << name + QStringLiteral(".bmp");
                continue;
            }
            Image->setPicture(pic);
            Image->render(&scratch);
        }
    Image->clear();
    // A run of blank stages would be stored as if the trainee had seen it.
    if (missing.isEmpty())
        return true;
    xMessageDlg(missingPicturesText(missing), mkFehlermeldung, btn::OK, 0);
    return false;
}

void TBmpKatDlg::showItem(const QString& text)
{
    Image->setPicture(picture(text));
    Image->repaint();
}

QWidget* TBmpKatDlg::stage() const
{
    return Image;
}

void TBmpKatDlg::clearItem()
{
    Image->clear();
    Image->repaint();
}

void TBmpKatDlg::showFaxFrame(int frame)
{
    frame = std::clamp(frame, 1, searchart::FaxFrameCount);
    TFaxFrame* shown = FaxFrames[std::size_t(frame - 1)];
    if (frame == m_faxFrame && !shown->isHidden())
        return;
    m_faxFrame = frame;
    for (TFaxFrame* f : FaxFrames)
        if (f != shown)
            f->hide();
    shown->show();
    shown->repaint();
}

TSearchQueryDlg& TBmpKatDlg::queryDlg()
{
    if (!BmpAbfragDlg && !m_ownAbfragDlg)
        m_ownAbfragDlg = new TBmpAbfragDlg(ctx(), this);
    return BmpAbfragDlg ? *BmpAbfragDlg : *m_ownAbfragDlg;
}

} // namespace gf

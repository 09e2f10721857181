#include "sequence/TSeqGraphDlg.h"

#include "data/MessageSink.h"
#include "data/ProgramData.h"
#include "data/Timing.h"
#include "platform/Printing.h"
#include "results/TSingleTipDlg.h"
#include "results/tGraphPanel.h"
#include "widgets/AppContext.h"
#include "widgets/Look.h"
#include "widgets/TPushButton.h"
#include "widgets/TStatusBar.h"

#include <QDateTime>
#include <QPainter>
#include <QPrinter>

namespace gf {

namespace {
const QColor BarGreen(82, 191, 160);
}

TSeqGraphDlg::TSeqGraphDlg(AppContext& ctx, QWidget* parent, int tipKind)
    : TBaseDlg(ctx, parent), m_tipKind(tipKind)
{
    setWindowTitle(QStringLiteral("Ergebnisse"));
    HelpKey.clear();

    LevelPanel = new QFrame(this);
    LevelPanel->setGeometry(40, 30, 720, 500);
    LevelChart = new tGraphPanel(LevelPanel);
    LevelChart->setGeometry(0, 0, 720, 500);
    LevelChart->setFont(look::arial(12));
    LevelChart->SetBarColor(Qt::black);
    LevelChart->SetBarCount(2);
    LevelChart->SetTitle(QStringLiteral("Treffer"));
    LevelChart->SetMaxScaleVal(100);
    LevelChart->SetXRaster(10);
    LevelChart->SetYRaster(10);
    LevelChart->SetLeftFrame(30);
    LevelChart->SetRightFrame(20);
    LevelChart->SetTopFrame(40);
    LevelChart->SetBottomFrame(50);
    LevelChart->SetBackColor(look::silver());

    PrintBtn = makeButton(QStringLiteral("&Drucken"));
    CommentBtn = makeButton(QStringLiteral("&Tipps"));
    OKBtn = makeButton(QStringLiteral("&Schließen"));
    PrintBtn->setAutoDefault(false);
    CommentBtn->setAutoDefault(false);
    OKBtn->setDefault(true);
    connect(PrintBtn, &QPushButton::clicked, this, &TSeqGraphDlg::PrintBtnClick);
    connect(CommentBtn, &QPushButton::clicked, this, &TSeqGraphDlg::CommentBtnClick);
    connect(OKBtn, &QPushButton::clicked, this, [this] { done(mrOk); });
}

void TSeqGraphDlg::FormShow()
{
    statusBar()->dock();
    statusBar()->placeCentred(PrintBtn, CommentBtn, OKBtn);
    statusBar()->setText(QString());
    LevelChart->setGeometry(LevelPanel->rect());
    OKBtn->setFocus();
}

void TSeqGraphDlg::ShowBars(const QString& title, const QVector<seq::LengthBar>& bars)
{
    LevelChart->SetTitle(title);
    LevelChart->SetBarCount(quint16(bars.size()));
    for (int i = 0; i < bars.size(); ++i)
        LevelChart->SetBarValue(i, QStringLiteral("% Länge ") + QString::number(bars[i].Length),
                                BarGreen, bars[i].Percent);
    LevelChart->update();
}

void TSeqGraphDlg::PrintPage(QPainter& painter)
{
    const int pw = painter.device()->width();
    const int ph = painter.device()->height();
    const tProgramData* data = ctx().data;
    const QString name = data && data->CurrentUser ? data->CurrentUser->Name : QString();
    // German whatever the system's locale: the page is the trainee's record.
    const QDateTime now = data ? data->clock().now() : QDateTime::currentDateTime();
    const QString heading = PrintHeading(name, now);

    QFont font(look::Arial);
    font.setPointSize(14);
    font.setBold(true);
    painter.save();
    painter.setFont(font);
    const QFontMetrics fm(font, painter.device());
    const int w = fm.horizontalAdvance(heading);
    const QRect box((pw - w) / 2, 50, w, fm.height());
    painter.fillRect(box, Qt::white);
    painter.setPen(Qt::black);
    painter.drawText(box.left(), box.top() + fm.ascent(), heading);
    painter.restore();

    const QColor back = LevelChart->BackColor();
    LevelChart->SetBackColor(Qt::white);
    LevelChart->PrintChart(painter, pw / 4, ph / 4, 3 * pw / 4, 3 * ph / 4);
    LevelChart->SetBackColor(back);
}

void TSeqGraphDlg::PrintBtnClick()
{
    std::unique_ptr<QPrinter> printer = ChoosePrinter(this);
    if (!printer)
        return;
    printer->setPageOrientation(QPageLayout::Landscape);
    QPainter painter;
    if (!painter.begin(printer.get()))
        return;
    PrintPage(painter);
    painter.end();
}

void TSeqGraphDlg::CommentBtnClick()
{
    TSingleTipDlg* tip = SingleTipDlg;
    if (!tip) {
        if (!m_ownTipDlg)
            m_ownTipDlg = new TSingleTipDlg(ctx(), this);
        tip = m_ownTipDlg;
    }
    tip->TipKind = m_tipKind;
    tip->exec();
}

} // namespace gf

#include "exercises/sequence/TSeqGraphDlg.h"

#include "exercises/results/tGraphPanel.h"
#include "toolkit/Look.h"

#include <QPainter>

namespace gf {

namespace {
const QColor BarGreen(82, 191, 160);
}

TSeqGraphDlg::TSeqGraphDlg(AppContext& ctx, QWidget* parent, int tipKind)
    : TResultGraphDlg(ctx, parent), m_tipKind(tipKind)
{
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
}

void TSeqGraphDlg::FormShow()
{
    TResultGraphDlg::FormShow();
    LevelChart->setGeometry(LevelPanel->rect());
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
    printHeading(painter);

    const QColor back = LevelChart->BackColor();
    LevelChart->SetBackColor(Qt::white);
    LevelChart->PrintChart(painter, pw / 4, ph / 4, 3 * pw / 4, 3 * ph / 4);
    LevelChart->SetBackColor(back);
}

} // namespace gf

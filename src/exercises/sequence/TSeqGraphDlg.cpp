#include "exercises/sequence/TSeqGraphDlg.h"

#include "exercises/results/tGraphPanel.h"
#include "toolkit/Look.h"

#include <QPainter>

namespace gf {

namespace {
const QColor BarGreen(82, 191, 160);
}

TSeqGraphDlg::TSeqGraphDlg(AppContext& ctx, QWidget* parent, ExerciseKind tipKind)
    : TResultGraphDlg(ctx, parent), m_tipKind(tipKind)
{
    LevelPanel = new QFrame(this);
    LevelPanel->setGeometry(40, 30, 720, 500);
    LevelChart = new tGraphPanel(LevelPanel);
    LevelChart->setGeometry(0, 0, 720, 500);
    LevelChart->setFont(look::arial(12));
    LevelChart->setBarColor(Qt::black);
    LevelChart->setBarCount(2);
    LevelChart->setTitle(QStringLiteral("Treffer"));
    LevelChart->setMaxScaleVal(100);
    LevelChart->setXRaster(10);
    LevelChart->setYRaster(10);
    LevelChart->setLeftFrame(30);
    LevelChart->setRightFrame(20);
    LevelChart->setTopFrame(40);
    LevelChart->setBottomFrame(50);
    LevelChart->setBackColor(look::silver());
}

void TSeqGraphDlg::FormShow()
{
    TResultGraphDlg::FormShow();
    LevelChart->setGeometry(LevelPanel->rect());
}

void TSeqGraphDlg::showBars(const QString& title, const QVector<seq::LengthBar>& bars)
{
    LevelChart->setTitle(title);
    LevelChart->setBarCount(quint16(bars.size()));
    for (int i = 0; i < bars.size(); ++i)
        LevelChart->SetBarValue(i, QStringLiteral("% Länge ") + QString::number(bars[i].Length),
                                BarGreen, bars[i].Percent);
    LevelChart->update();
}

bool TSeqGraphDlg::printPage(QPainter& painter)
{
    const int pw = painter.device()->width();
    const int ph = painter.device()->height();
    printHeading(painter);

    const QColor back = LevelChart->BackColor();
    LevelChart->setBackColor(Qt::white);
    const bool drawn = LevelChart->PrintChart(painter, pw / 4, ph / 4, 3 * pw / 4, 3 * ph / 4);
    LevelChart->setBackColor(back);
    return drawn;
}

} // namespace gf

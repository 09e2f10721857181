#include "exercises/search/TGraphDlg.h"

#include "core/data/Records.h"
#include "core/results/TipRules.h"
#include "core/search/SearchRules.h"
#include "exercises/results/tGraphPanel.h"
#include "toolkit/Look.h"
#include "toolkit/TStatusBar.h"

#include <QPainter>
#include <QSplitter>

namespace gf {

namespace {

tGraphPanel* makeChart(QWidget* parent)
{
    auto* chart = new tGraphPanel(parent);
    chart->setFont(look::arial(12));
    chart->setBackColor(look::silver());
    chart->setBarColor(Qt::black);
    chart->setFrameWidth(1);
    chart->setTitle(QStringLiteral("Treffer"));
    chart->setMaxScaleVal(100.0);
    chart->setXRaster(10.0);
    chart->setYRaster(10.0);
    chart->setLeftFrame(30);
    chart->setRightFrame(20);
    chart->setTopFrame(30);
    chart->setBottomFrame(50);
    chart->setBarCount(0);
    return chart;
}

void fill(tGraphPanel* panel, const search::tChart& chart)
{
    panel->setTitle(chart.Title);
    panel->setBarCount(quint16(chart.Bars.size()));
    const QColor colour = QColor::fromRgb(chart.Rgb);
    for (int i = 0; i < chart.Bars.size(); ++i)
        panel->SetBarValue(i, chart.Bars[i].Caption, colour, chart.Bars[i].Value);
    panel->update();
}

} // namespace

TGraphDlg::TGraphDlg(AppContext& ctx, QWidget* parent) : TResultGraphDlg(ctx, parent)
{
    Splitter = new QSplitter(Qt::Vertical, this);
    Splitter->setGeometry(0, 0, 800, 560);
    Splitter->setChildrenCollapsible(false);
    Splitter->setHandleWidth(6);
    LevelChart = makeChart(Splitter);
    CatChart = makeChart(Splitter);
    Splitter->addWidget(LevelChart);
    Splitter->addWidget(CatChart);
}

void TGraphDlg::FormShow()
{
    TResultGraphDlg::FormShow();
    Splitter->setGeometry(0, 0, width(), statusBar()->y());
    const int h = Splitter->height() - Splitter->handleWidth();
    Splitter->setSizes({h / 2, h - h / 2});
    fillCharts();
}

void TGraphDlg::fillCharts()
{
    const std::shared_ptr<const tConfig>& table =
        ChartMode == search::cmPicture ? PictureTable : WordTable;
    if (!table) {
        LevelChart->setBarCount(0);
        CatChart->setBarCount(0);
        LevelChart->update();
        CatChart->update();
        return;
    }
    fill(LevelChart, search::LevelChart(*table, ChartMode));
    fill(CatChart, search::categoryChart(*table, ChartMode));
}

bool TGraphDlg::printPage(QPainter& painter)
{
    const int pw = painter.device()->width();
    const int ph = painter.device()->height();
    printHeading(painter);

    // Paper is white; the screen's grey comes back afterwards.
    const QColor levelBack = LevelChart->BackColor();
    const QColor catBack = CatChart->BackColor();
    LevelChart->setBackColor(Qt::white);
    CatChart->setBackColor(Qt::white);
    const int mx = pw / 8;
    const int my = ph / 8;
    const bool level = LevelChart->PrintChart(painter, mx, my, pw - mx, ph / 2 - my);
    const bool cat = CatChart->PrintChart(painter, mx, ph / 2 + my, pw - mx, ph - my);
    LevelChart->setBackColor(levelBack);
    CatChart->setBackColor(catBack);
    return level && cat;
}

ExerciseKind TGraphDlg::tipKind() const
{
    return ChartMode == search::cmPicture ? ExerciseKind::Bild : ExerciseKind::Wort;
}

} // namespace gf

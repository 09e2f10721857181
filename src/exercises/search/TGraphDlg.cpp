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
    chart->SetBackColor(look::silver());
    chart->SetBarColor(Qt::black);
    chart->SetFrameWidth(1);
    chart->SetTitle(QStringLiteral("Treffer"));
    chart->SetMaxScaleVal(100.0);
    chart->SetXRaster(10.0);
    chart->SetYRaster(10.0);
    chart->SetLeftFrame(30);
    chart->SetRightFrame(20);
    chart->SetTopFrame(30);
    chart->SetBottomFrame(50);
    chart->SetBarCount(0);
    return chart;
}

void fill(tGraphPanel* panel, const search::tChart& chart)
{
    panel->SetTitle(chart.Title);
    panel->SetBarCount(quint16(chart.Bars.size()));
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
    FillCharts();
}

void TGraphDlg::FillCharts()
{
    const std::shared_ptr<const tConfig>& table =
        ChartMode == search::cmPicture ? PictureTable : WordTable;
    if (!table) {
        LevelChart->SetBarCount(0);
        CatChart->SetBarCount(0);
        LevelChart->update();
        CatChart->update();
        return;
    }
    fill(LevelChart, search::LevelChart(*table, ChartMode));
    fill(CatChart, search::CategoryChart(*table, ChartMode));
}

void TGraphDlg::PrintPage(QPainter& painter)
{
    const int pw = painter.device()->width();
    const int ph = painter.device()->height();
    printHeading(painter);

    // Paper is white; the screen's grey comes back afterwards.
    const QColor levelBack = LevelChart->BackColor();
    const QColor catBack = CatChart->BackColor();
    LevelChart->SetBackColor(Qt::white);
    CatChart->SetBackColor(Qt::white);
    const int mx = pw / 8;
    const int my = ph / 8;
    LevelChart->PrintChart(painter, mx, my, pw - mx, ph / 2 - my);
    CatChart->PrintChart(painter, mx, ph / 2 + my, pw - mx, ph - my);
    LevelChart->SetBackColor(levelBack);
    CatChart->SetBackColor(catBack);
}

int TGraphDlg::tipKind() const
{
    return ChartMode == search::cmPicture ? tips::Bild : tips::Wort;
}

} // namespace gf

#include "search/TGraphDlg.h"

#include "data/MessageSink.h"
#include "data/ProgramData.h"
#include "data/Records.h"
#include "platform/Printing.h"
#include "results/TSingleTipDlg.h"
#include "results/TipRules.h"
#include "results/tGraphPanel.h"
#include "search/SearchRules.h"
#include "widgets/AppContext.h"
#include "widgets/Look.h"
#include "widgets/TPushButton.h"
#include "widgets/TStatusBar.h"

#include <QApplication>
#include <QDateTime>
#include <QLocale>
#include <QPainter>
#include <QPrinter>
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

TGraphDlg::TGraphDlg(AppContext& ctx, QWidget* parent) : TBaseDlg(ctx, parent)
{
    setWindowTitle(QStringLiteral("Ergebnisse"));
    HelpKey.clear();

    Splitter = new QSplitter(Qt::Vertical, this);
    Splitter->setGeometry(0, 0, 800, 560);
    Splitter->setChildrenCollapsible(false);
    Splitter->setHandleWidth(6);
    LevelChart = makeChart(Splitter);
    CatChart = makeChart(Splitter);
    Splitter->addWidget(LevelChart);
    Splitter->addWidget(CatChart);

    PrintBtn = makeButton(QStringLiteral("&Drucken"));
    CommentBtn = makeButton(QStringLiteral("&Tipps"));
    OKBtn = makeButton(QStringLiteral("&Schließen"));
    PrintBtn->setAutoDefault(false);
    CommentBtn->setAutoDefault(false);
    OKBtn->setDefault(true);
    connect(PrintBtn, &QPushButton::clicked, this, &TGraphDlg::PrintBtnClick);
    connect(CommentBtn, &QPushButton::clicked, this, &TGraphDlg::CommentBtnClick);
    connect(OKBtn, &QPushButton::clicked, this, [this] { done(mrOk); });
}

void TGraphDlg::FormShow()
{
    statusBar()->dock();
    statusBar()->placeCentred(PrintBtn, CommentBtn, OKBtn);
    statusBar()->setText(QString());
    Splitter->setGeometry(0, 0, width(), statusBar()->y());
    const int h = Splitter->height() - Splitter->handleWidth();
    Splitter->setSizes({h / 2, h - h / 2});
    FillCharts();
    OKBtn->setFocus();
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
    const tProgramData* data = ctx().data;
    const QString name = data && data->CurrentUser ? data->CurrentUser->Name : QString();
    const QLocale locale;
    const QDateTime now = QDateTime::currentDateTime();
    const QString heading = QStringLiteral("Grips-Fix ") + name + QStringLiteral(", ") +
                            locale.toString(now.date(), QLocale::ShortFormat) +
                            QStringLiteral(" ") + locale.toString(now.time(), QLocale::LongFormat);

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

    const int mx = pw / 8;
    const int my = ph / 8;
    LevelChart->PrintChart(painter, mx, my, pw - mx, ph / 2 - my);
    CatChart->PrintChart(painter, mx, ph / 2 + my, pw - mx, ph - my);
}

void TGraphDlg::PrintBtnClick()
{
    std::unique_ptr<QPrinter> printer = ChoosePrinter(this);
    if (!printer)
        return;
    printer->setPageOrientation(QPageLayout::Landscape);
    const QColor levelBack = LevelChart->BackColor();
    const QColor catBack = CatChart->BackColor();
    LevelChart->SetBackColor(Qt::white);
    CatChart->SetBackColor(Qt::white);
    QPainter painter;
    if (painter.begin(printer.get())) {
        PrintPage(painter);
        painter.end();
    }
    LevelChart->SetBackColor(levelBack);
    CatChart->SetBackColor(catBack);
    QApplication::processEvents();
    // Back from the print dialog, the keys belong to this window again.
    activateWindow();
}

void TGraphDlg::CommentBtnClick()
{
    TSingleTipDlg* tip = SingleTipDlg;
    if (!tip) {
        if (!m_ownTipDlg)
            m_ownTipDlg = new TSingleTipDlg(ctx(), this);
        tip = m_ownTipDlg;
    }
    tip->TipKind = ChartMode == search::cmPicture ? tips::Bild : tips::Wort;
    tip->exec();
}

} // namespace gf

#include "exercises/results/TFortschrittDlg.h"

#include "core/data/MessageSink.h"
#include "core/data/ProgramData.h"
#include "core/data/Timing.h"
#include "core/results/TipRules.h"
#include "exercises/results/TPrintDlg.h"
#include "toolkit/AppContext.h"
#include "toolkit/Look.h"
#include "toolkit/TPushButton.h"
#include "toolkit/TStatusBar.h"

#include <QApplication>
#include <QFrame>
#include <QPainter>
#include <QShortcut>

namespace gf {

namespace {

// Design pixels of the bars above and below the chart.
constexpr int BarHeight = 56;
// The chart's text size in design pixels per point: large enough for older eyes.
constexpr double ScreenPointPx = 1.9;

const char* const PageCaptions[4] = {"1  Wort-Fahndung", "2  Bild-Fahndung", "3  Telefon",
                                     "4  Memo-Protokoll"};
const char* const RangeCaptions[4] = {"4 Wochen", "12 Wochen", "52 Wochen", "Alles"};

} // namespace

tProgressPanel::tProgressPanel(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void tProgressPanel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.fillRect(rect(), Look.background);
    drawProgressPage(painter, rect().adjusted(12, 8, -12, -6), Report, Exercise, Today, Look);
}

TFortschrittDlg::TFortschrittDlg(AppContext& ctx, QWidget* parent) : TBaseDlg(ctx, parent)
{
    setWindowTitle(QStringLiteral("Fortschritt"));
    HelpKey = QStringLiteral("Fortschritt");

    PageBar = new QFrame(this);
    PageBar->setGeometry(0, 0, 800, BarHeight);
    look::setBackground(PageBar, look::statusBar());
    for (int i = 0; i < 4; ++i) {
        PageBtn[i] = new TPushButton(QString::fromUtf8(PageCaptions[i]), PageBar);
        PageBtn[i]->setFont(look::arial(17, true));
        PageBtn[i]->setCheckable(true);
        PageBtn[i]->setAutoDefault(false);
        connect(PageBtn[i], &QPushButton::clicked, this, [this, i] { showPage(i); });
    }

    Chart = new tProgressPanel(this);
    Chart->setGeometry(0, BarHeight, 800, 560 - 2 * BarHeight);

    RangeBar = new QFrame(this);
    RangeBar->setGeometry(0, 560 - BarHeight, 800, BarHeight);
    look::setBackground(RangeBar, look::statusBar());
    for (int i = 0; i < 4; ++i) {
        RangeBtn[i] = new TPushButton(QString::fromUtf8(RangeCaptions[i]), RangeBar);
        RangeBtn[i]->setFont(look::arial(17, true));
        RangeBtn[i]->setCheckable(true);
        RangeBtn[i]->setAutoDefault(false);
        connect(RangeBtn[i], &QPushButton::clicked, this, [this, i] { setRange(i); });
    }

    HelpBtn = makeButton(QStringLiteral("&Hilfe"), nullptr, 200, 30);
    PrintBtn = makeButton(QStringLiteral("&Drucken"), nullptr, 200, 30);
    OKBtn = makeButton(QStringLiteral("&Zurück"), nullptr, 200, 30);
    HelpBtn->setAutoDefault(false);
    PrintBtn->setAutoDefault(false);
    OKBtn->setDefault(true);
    connect(HelpBtn, &QPushButton::clicked, this, &TBaseDlg::showHelp);
    connect(PrintBtn, &QPushButton::clicked, this, &TFortschrittDlg::PrintBtnClick);
    connect(OKBtn, &QPushButton::clicked, this, [this] { done(mrOk); });

    // Digits choose the page, the arrows the range, wherever the focus is.
    for (int i = 0; i < 4; ++i)
        connect(new QShortcut(QKeySequence(Qt::Key_1 + i), this), &QShortcut::activated, this,
                [this, i] { showPage(i); });
    connect(new QShortcut(QKeySequence(Qt::Key_Left), this), &QShortcut::activated, this,
            [this] { setRange(std::max(0, m_range - 1)); });
    connect(new QShortcut(QKeySequence(Qt::Key_Right), this), &QShortcut::activated, this,
            [this] { setRange(std::min(3, m_range + 1)); });
}

DayRange TFortschrittDlg::rangeDays(int index, const QDate& today)
{
    const int weeks = RangeWeeks[std::clamp(index, 0, 3)];
    if (weeks == 0)
        return DayRange{QDate(), today};
    // Whole calendar weeks: this one and those before it.
    const QDate monday = today.addDays(1 - today.dayOfWeek());
    return DayRange{monday.addDays(-7 * (weeks - 1)), today};
}

void TFortschrittDlg::FormShow()
{
    statusBar()->dock();
    statusBar()->placeCentred(HelpBtn, PrintBtn, OKBtn);
    statusBar()->setText(QString());
    layoutBars();
    applyLook();
    m_page = 0;
    m_range = DefaultRange;
    reload();
    showPage(0);
    OKBtn->setFocus();
}

void TFortschrittDlg::applyLook()
{
    tProgressLook& l = Chart->Look;
    l.background = look::background();
    l.ink = look::text();
    l.grid = look::statusBar().lighter(150);
    l.series = {look::buttonFace(), QColor(255, 214, 90), QColor(140, 230, 150),
                QColor(255, 160, 160)};
    l.family = look::Arial;
    // The pixel size the look gives the window's text carries the screen's adaptation
    // (and any larger text the trainee chose) to the chart.
    const double px = PageBtn[0]->font().pixelSize() / 17.0;
    l.textScale = ScreenPointPx * px * 72.0 / std::max(1, Chart->logicalDpiY());
    l.heading = false;
    l.note = false;
    l.compact = true;
    l.pageNo = 0;
}

void TFortschrittDlg::reload()
{
    const tProgramData* data = ctx().data;
    Chart->Today = data ? data->clock().now().date() : QDate::currentDate();
    Chart->Report =
        data && data->CurrentUser
            ? buildProgressReport(*data, *data->CurrentUser, rangeDays(m_range, Chart->Today))
            : tProgressReport{};
    for (int i = 0; i < 4; ++i)
        RangeBtn[i]->setChecked(i == m_range);
    Chart->update();
}

void TFortschrittDlg::showPage(int index)
{
    m_page = std::clamp(index, 0, 3);
    Chart->Exercise = ReportPageOrder[m_page];
    for (int i = 0; i < 4; ++i)
        PageBtn[i]->setChecked(i == m_page);
    Chart->update();
}

void TFortschrittDlg::setRange(int index)
{
    if (index == m_range)
        return;
    m_range = std::clamp(index, 0, 3);
    reload();
}

void TFortschrittDlg::resizeEvent(QResizeEvent* event)
{
    TBaseDlg::resizeEvent(event);
    layoutBars();
}

void TFortschrittDlg::layoutBars()
{
    // Four buttons of one width in each bar, evenly spaced.
    for (QFrame* bar : {PageBar, RangeBar}) {
        TPushButton* const* buttons = bar == PageBar ? PageBtn : RangeBtn;
        const int gap = std::max(4, bar->width() / 60);
        const int w = (bar->width() - 5 * gap) / 4;
        const int h = bar->height() * 3 / 4;
        for (int i = 0; i < 4; ++i)
            buttons[i]->setGeometry(gap + i * (w + gap), (bar->height() - h) / 2, w, h);
    }
}

bool TFortschrittDlg::printPage(QPainter& painter)
{
    const tProgramData* data = ctx().data;
    if (!data || !data->CurrentUser)
        return false;
    tProgressLook paper;
    const QRect page(0, 0, painter.device()->width(), painter.device()->height());
    drawProgressPage(painter, page, Chart->Report, Chart->Exercise, Chart->Today, paper);
    return true;
}

void TFortschrittDlg::PrintBtnClick()
{
    PrintPage page;
    page.what = QStringLiteral("Trainingsverlauf ") + tips::areaName(Chart->Exercise);
    page.draw = [this](QPainter& painter) { return printPage(painter); };
    TPrintDlg::print(ctx(), page, this);
    QApplication::processEvents();
}

} // namespace gf

#pragma once

#include "core/results/ProgressReport.h"
#include "render/ProgressReportPdf.h"
#include "toolkit/TBaseDlg.h"

#include <QDate>

class QFrame;
class QPainter;

namespace gf {

class TPushButton;

// Draws one page of the progress report, in the look it is given.
class tProgressPanel final : public QWidget
{
    Q_OBJECT

public:
    explicit tProgressPanel(QWidget* parent = nullptr);

    tProgressReport Report;
    ExerciseKind Exercise = ExerciseKind::Wort;
    QDate Today;
    tProgressLook Look;

protected:
    void paintEvent(QPaintEvent* event) override;
};

// "Fortschritt": the logged-in detective's training week by week, one page per work
// area (buttons and keys 1 to 4), over the last 4, 12 or 52 weeks or everything (buttons
// and the arrow keys), today's exercises included. Prints the page shown.
class TFortschrittDlg final : public TBaseDlg
{
    Q_OBJECT

public:
    explicit TFortschrittDlg(AppContext& ctx, QWidget* parent = nullptr);

    // Weeks of each range choice; 0 is everything.
    static constexpr int RangeWeeks[4] = {4, 12, 52, 0};
    static constexpr int DefaultRange = 1;

    QFrame* PageBar;
    TPushButton* PageBtn[4];
    tProgressPanel* Chart;
    QFrame* RangeBar;
    TPushButton* RangeBtn[4];
    TPushButton* HelpBtn;
    TPushButton* PrintBtn;
    TPushButton* OKBtn;

    void showPage(int index);
    void setRange(int index);
    int pageIndex() const { return m_page; }
    int rangeIndex() const { return m_range; }
    // The days of a range choice up to today.
    static DayRange rangeDays(int index, const QDate& today);

    // The page shown, on paper, into an active painter; false when nobody is logged in.
    bool printPage(QPainter& painter);
    void PrintBtnClick();

protected:
    void FormShow() override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void reload();
    void layoutBars();
    void applyLook();

    int m_page = 0;
    int m_range = DefaultRange;
};

} // namespace gf

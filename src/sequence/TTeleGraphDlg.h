#pragma once

#include "widgets/TBaseDlg.h"

class QFrame;
class QPainter;

namespace gf {

class TPushButton;
class TSingleTipDlg;
class tGraphPanel;
struct tTeleStat;

// Results of a telephone exercise: the share of right numbers per length, printable,
// with the tip of the day.
class TTeleGraphDlg final : public TBaseDlg
{
    Q_OBJECT

public:
    explicit TTeleGraphDlg(AppContext& ctx, QWidget* parent = nullptr);

    // Set by the caller before showing.
    const tTeleStat* Stat = nullptr;
    // The program's tip window; without one the window uses one of its own.
    TSingleTipDlg* SingleTipDlg = nullptr;

    QFrame* LevelPanel;
    tGraphPanel* LevelChart;
    TPushButton* PrintBtn;
    TPushButton* CommentBtn;
    TPushButton* OKBtn;

    // Fills the chart from a record (done on showing).
    void FillChart(const tTeleStat& stat);
    // Prints heading and chart onto an active painter of a page.
    void PrintPage(QPainter& painter);

    void PrintBtnClick();
    void CommentBtnClick();

protected:
    void FormShow() override;

private:
    TSingleTipDlg* m_ownTipDlg = nullptr;
};

} // namespace gf

#include "sequence/TBmpSndGraphDlg.h"

#include "data/Records.h"
#include "results/TipRules.h"
#include "results/tGraphPanel.h"
#include "sequence/MemoRules.h"

namespace gf {

TBmpSndGraphDlg::TBmpSndGraphDlg(AppContext& ctx, QWidget* parent)
    : TSeqGraphDlg(ctx, parent, tips::Memo)
{
    LevelChart->SetFrameWidth(0);
}

void TBmpSndGraphDlg::FormShow()
{
    TSeqGraphDlg::FormShow();
    if (Stat)
        FillChart(*Stat);
}

void TBmpSndGraphDlg::FillChart(const tBmpSndStat& stat)
{
    ShowBars(memo::GraphTitle(stat), memo::GraphBars(stat));
}

} // namespace gf

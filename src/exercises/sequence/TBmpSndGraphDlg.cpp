#include "exercises/sequence/TBmpSndGraphDlg.h"

#include "core/data/Records.h"
#include "core/results/TipRules.h"
#include "core/sequence/MemoRules.h"
#include "exercises/results/tGraphPanel.h"

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

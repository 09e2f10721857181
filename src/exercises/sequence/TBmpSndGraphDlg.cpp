#include "exercises/sequence/TBmpSndGraphDlg.h"

#include "core/data/Records.h"
#include "core/results/TipRules.h"
#include "core/sequence/MemoRules.h"
#include "exercises/results/tGraphPanel.h"

namespace gf {

TBmpSndGraphDlg::TBmpSndGraphDlg(AppContext& ctx, QWidget* parent)
    : TSeqGraphDlg(ctx, parent, ExerciseKind::Memo)
{
    LevelChart->setFrameWidth(0);
}

void TBmpSndGraphDlg::FormShow()
{
    TSeqGraphDlg::FormShow();
    if (Stat)
        fillChart(*Stat);
}

void TBmpSndGraphDlg::fillChart(const tBmpSndStat& stat)
{
    showBars(memo::graphTitle(stat), memo::graphBars(stat));
}

} // namespace gf

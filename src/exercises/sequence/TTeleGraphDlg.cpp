#include "exercises/sequence/TTeleGraphDlg.h"

#include "core/data/Records.h"
#include "core/results/TipRules.h"
#include "core/sequence/TelRules.h"
#include "exercises/results/tGraphPanel.h"

namespace gf {

TTeleGraphDlg::TTeleGraphDlg(AppContext& ctx, QWidget* parent)
    : TSeqGraphDlg(ctx, parent, tips::Tel)
{
    LevelChart->SetFrameWidth(1);
}

void TTeleGraphDlg::FormShow()
{
    TSeqGraphDlg::FormShow();
    if (Stat)
        FillChart(*Stat);
}

void TTeleGraphDlg::FillChart(const tTeleStat& stat)
{
    // Only lengths that were presented get a bar, so no placeholder bar is left over.
    ShowBars(QStringLiteral("Telefonvermittlung (") + tel::ModeText(stat.Mode) +
                 QStringLiteral(", ") + QString::number(stat.TaskCount) +
                 QStringLiteral(" Übungen)"),
             seq::LengthBars(stat));
}

} // namespace gf

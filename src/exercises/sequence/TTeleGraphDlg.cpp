#include "exercises/sequence/TTeleGraphDlg.h"

#include "core/data/Records.h"
#include "core/results/TipRules.h"
#include "core/sequence/TelRules.h"
#include "exercises/results/tGraphPanel.h"

namespace gf {

TTeleGraphDlg::TTeleGraphDlg(AppContext& ctx, QWidget* parent)
    : TSeqGraphDlg(ctx, parent, ExerciseKind::Tel)
{
    LevelChart->setFrameWidth(1);
}

void TTeleGraphDlg::FormShow()
{
    TSeqGraphDlg::FormShow();
    if (Stat)
        fillChart(*Stat);
}

void TTeleGraphDlg::fillChart(const tTeleStat& stat)
{
    // Only lengths that were presented get a bar, so no placeholder bar is left over.
    showBars(QStringLiteral("Telefonvermittlung (") + tel::ModeText(stat.Mode) +
                 QStringLiteral(", ") + QString::number(stat.TaskCount) +
                 QStringLiteral(" Übungen)"),
             seq::lengthBars(stat));
}

} // namespace gf

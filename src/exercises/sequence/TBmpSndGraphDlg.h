#pragma once

#include "exercises/sequence/TSeqGraphDlg.h"

namespace gf {

struct tBmpSndStat;

// Results of a memo protocol exercise: the share of right sequences per length,
// printable, with the tip of the day.
class TBmpSndGraphDlg final : public TSeqGraphDlg
{
    Q_OBJECT

public:
    explicit TBmpSndGraphDlg(AppContext& ctx, QWidget* parent = nullptr);

    // Set by the caller before showing.
    const tBmpSndStat* Stat = nullptr;

    // Fills the chart from a record (done on showing).
    void fillChart(const tBmpSndStat& stat);

protected:
    void FormShow() override;
};

} // namespace gf

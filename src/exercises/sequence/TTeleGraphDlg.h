#pragma once

#include "exercises/sequence/TSeqGraphDlg.h"

namespace gf {

struct tTeleStat;

// Results of a telephone exercise: the share of right numbers per length, printable,
// with the tip of the day.
class TTeleGraphDlg final : public TSeqGraphDlg
{
    Q_OBJECT

public:
    explicit TTeleGraphDlg(AppContext& ctx, QWidget* parent = nullptr);

    // Set by the caller before showing.
    const tTeleStat* Stat = nullptr;

    // Fills the chart from a record (done on showing).
    void fillChart(const tTeleStat& stat);

protected:
    void FormShow() override;
};

} // namespace gf

#pragma once

#include "core/data/Records.h"
#include "toolkit/TBaseDlg.h"

namespace gf {

class TPushButton;
class TRadioGroup;

// Asks how the next exercise presents itself: hearing, seeing or both.
class TChooseModeDlg final : public TBaseDlg
{
    Q_OBJECT
public:
    explicit TChooseModeDlg(AppContext& ctx, QWidget* parent = nullptr);

    // 0 while nothing is chosen, else the position (1..3) of the chosen option.
    quint16 Mode = 0;
    // Option texts, set by the caller; kept between showings.
    RangeArray<QString, 1, 3> ModeText;

    TRadioGroup* Box;
    TPushButton* HelpBtn;
    TPushButton* CancelBtn;
    TPushButton* OKBtn;

protected:
    void FormShow() override;

private:
    void confirm();
};

} // namespace gf

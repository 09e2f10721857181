#pragma once

#include "toolkit/TBaseDlg.h"

namespace gf {

class TPushButton;
class TRadioGroup;

// Chooses the look of the program on this computer: as designed, or strong contrast
// with the text at 100, 125 or 150 %. The choice holds from the next start on, when
// every window is made in it.
class TViewDlg final : public TBaseDlg
{
    Q_OBJECT
public:
    explicit TViewDlg(AppContext& ctx, QWidget* parent = nullptr);

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

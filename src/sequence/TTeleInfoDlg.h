#pragma once

#include "widgets/TBaseDlg.h"

class QTextEdit;

namespace gf {

class TPushButton;

// Introduction of the telephone switchboard. mrOk goes on to the mode choice.
class TTeleInfoDlg final : public TBaseDlg
{
    Q_OBJECT

public:
    explicit TTeleInfoDlg(AppContext& ctx, QWidget* parent = nullptr);

    QTextEdit* Memo1;
    TPushButton* HelpBtn;
    TPushButton* CancelBtn; // "&Zurück"
    TPushButton* OKBtn;     // "&Weiter"

    static const QStringList& Lines();

protected:
    void FormShow() override;
};

} // namespace gf

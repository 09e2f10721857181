#pragma once

#include "exercises/sequence/TSeqInfoDlg.h"

namespace gf {

// Introduction of the telephone switchboard. mrOk goes on to the mode choice.
class TTeleInfoDlg final : public TSeqInfoDlg
{
    Q_OBJECT

public:
    explicit TTeleInfoDlg(AppContext& ctx, QWidget* parent = nullptr);

    QTextEdit* Memo1;

    static const QStringList& Lines();
};

} // namespace gf

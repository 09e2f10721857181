#pragma once

#include "exercises/sequence/TSeqInfoDlg.h"

namespace gf {

// Introduction of the memo protocol: the story of the night on the farm. mrOk goes on
// to the mode choice.
class TSndBmpInfDlg final : public TSeqInfoDlg
{
    Q_OBJECT

public:
    explicit TSndBmpInfDlg(AppContext& ctx, QWidget* parent = nullptr);

    // The mode of the coming exercise (1 hear, 2 see, 3 both); the story is the same.
    quint16 Mode = 2;

    QTextEdit* xMemo;

    static const QStringList& Lines();

protected:
    void FormShow() override;
};

} // namespace gf

#pragma once

#include "toolkit/TBaseDlg.h"

#include <QStringList>

class QTextEdit;

namespace gf {

class TPushButton;

// Introduction of a sequence exercise: a centred story text and "&Hilfe", "&Zurück",
// "&Weiter". mrOk goes on to the mode choice.
class TSeqInfoDlg : public TBaseDlg
{
    Q_OBJECT

public:
    QTextEdit* Text;
    TPushButton* HelpBtn;
    TPushButton* CancelBtn; // "&Zurück"
    TPushButton* OKBtn;     // "&Weiter"

protected:
    TSeqInfoDlg(AppContext& ctx, QWidget* parent, const QString& helpKey, const QStringList& lines);
    void FormShow() override;
};

} // namespace gf

#pragma once

#include "core/data/Records.h"
#include "toolkit/TBaseDlg.h"

class QLabel;
class QTextEdit;

namespace gf {

class TPushButton;

// The tip of the day for the work area of the last exercise: praise, advice or an
// illustrated tip page, chosen from that exercise's result.
class TSingleTipDlg final : public TBaseDlg
{
    Q_OBJECT

public:
    explicit TSingleTipDlg(AppContext& ctx, QWidget* parent = nullptr);

    // 1 word search, 2 picture search, 3 telephone, 4 memo protocol.
    ExerciseKind TipKind = ExerciseKind::Wort;

    // Computed when shown, for TipKind only; -999 without a result.
    double WordScore = -999.0;
    double PictureScore = -999.0;
    double TelScore = -999.0;
    double MemoScore = -999.0;

    QLabel* pn_Top;
    QTextEdit* RichEdit;
    TPushButton* OKBtn;

    // A table line with "#" replaced by the current detective's name.
    QString TipText(const QString& line) const;

protected:
    void FormShow() override;

private:
    void writeTip();
    void writeLines(const QStringList& paragraphs);
    bool loadPage(int page);
};

} // namespace gf

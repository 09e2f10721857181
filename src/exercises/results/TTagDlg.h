#pragma once

#include "toolkit/TBaseDlg.h"

#include <QFont>

class QFrame;
class QScrollArea;
class QPainter;

namespace gf {

class SeqFeedback;
class TPushButton;
class TRadioGroup;
class tKatFeedback;

// "aktuelle Ergebnisse": the detective's results of this program run against all
// earlier ones, on two pages (word and picture search; telephone and memo protocol).
// Prints the page shown and opens the page of explanations.
class TTagDlg final : public TBaseDlg
{
    Q_OBJECT

public:
    explicit TTagDlg(AppContext& ctx, QWidget* parent = nullptr);

    QFrame* ClientPanel;
    QScrollArea* Scroller = nullptr; // the low-vision look's page only
    tKatFeedback* KatFeed;
    SeqFeedback* SeqFeed;
    QFrame* RightPanel;
    TRadioGroup* Group;
    TPushButton* PrintBtn;
    TPushButton* TipBtn;
    TPushButton* OKBtn;

    // Fills both panels from the session lists and the summaries.
    void computeValues();
    void GroupClick(int index);
    void PrintBtnClick();
    void TipBtnClick();
    // Title and the page shown onto an active painter of a page; false when the panel
    // did not draw.
    bool printPage(QPainter& painter);

    // The title font of the last printed page.
    QFont lastTitleFont() const { return m_titleFont; }

protected:
    void FormShow() override;

private:
    QFont m_titleFont;
};

} // namespace gf

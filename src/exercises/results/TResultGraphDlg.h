#pragma once

#include "core/data/Records.h"
#include "toolkit/TBaseDlg.h"

class QPainter;

namespace gf {

class TPushButton;
class TSingleTipDlg;

// What the result graphs of the exercises share: "&Drucken" onto a landscape page,
// "&Tipps" with the tip of the exercise's work area, and "&Schließen".
class TResultGraphDlg : public TBaseDlg
{
    Q_OBJECT

public:
    // The program's tip window; without one the window uses one of its own.
    TSingleTipDlg* SingleTipDlg = nullptr;

    TPushButton* PrintBtn;
    TPushButton* CommentBtn; // "&Tipps"
    TPushButton* OKBtn;      // "&Schließen"

    // Heading and charts onto an active painter of a page, in black on white; false when
    // a chart did not draw.
    virtual bool printPage(QPainter& painter) = 0;

    void PrintBtnClick();
    void CommentBtnClick();

protected:
    TResultGraphDlg(AppContext& ctx, QWidget* parent);

    // The work area whose tip "&Tipps" opens.
    virtual ExerciseKind tipKind() const = 0;
    // The heading of a printed page for the trainee signed in, drawn centred at its top.
    void printHeading(QPainter& painter);
    // Buttons placed in the docked status bar, "&Schließen" with the keys.
    void FormShow() override;

private:
    TSingleTipDlg* m_ownTipDlg = nullptr;
};

} // namespace gf

#pragma once

#include "sequence/SequenceRules.h"
#include "widgets/TBaseDlg.h"

class QFrame;
class QPainter;

namespace gf {

class TPushButton;
class TSingleTipDlg;
class tGraphPanel;

// Results of a sequence exercise (telephone switchboard, memo protocol): the share of
// right answers per length as a bar chart, printable on a landscape page, with the tip
// of the day of the exercise's work area.
class TSeqGraphDlg : public TBaseDlg
{
    Q_OBJECT

public:
    // The program's tip window; without one the window uses one of its own.
    TSingleTipDlg* SingleTipDlg = nullptr;

    QFrame* LevelPanel;
    tGraphPanel* LevelChart;
    TPushButton* PrintBtn;
    TPushButton* CommentBtn;
    TPushButton* OKBtn;

    // Prints heading and chart onto an active painter of a page.
    void PrintPage(QPainter& painter);

    void PrintBtnClick();
    void CommentBtnClick();

protected:
    // `tipKind`: the work area whose tip "&Tipps" opens.
    TSeqGraphDlg(AppContext& ctx, QWidget* parent, int tipKind);

    // Title and one bar per length, captioned "% Länge " + length.
    void ShowBars(const QString& title, const QVector<seq::LengthBar>& bars);
    // Buttons placed and the chart fitted; the caller fills the chart afterwards.
    void FormShow() override;

private:
    int m_tipKind;
    TSingleTipDlg* m_ownTipDlg = nullptr;
};

} // namespace gf

#pragma once

#include "core/sequence/SequenceRules.h"
#include "exercises/results/TResultGraphDlg.h"

class QFrame;
class QPainter;

namespace gf {

class tGraphPanel;

// Results of a sequence exercise (telephone switchboard, memo protocol): the share of
// right answers per length as a bar chart, printable on a landscape page, with the tip
// of the day of the exercise's work area.
class TSeqGraphDlg : public TResultGraphDlg
{
    Q_OBJECT

public:
    QFrame* LevelPanel;
    tGraphPanel* LevelChart;

    // Prints heading and chart onto an active painter of a page.
    bool printPage(QPainter& painter) override;

protected:
    // `tipKind`: the work area whose tip "&Tipps" opens.
    TSeqGraphDlg(AppContext& ctx, QWidget* parent, ExerciseKind tipKind);

    // Title and one bar per length, captioned "% Länge " + length.
    void showBars(const QString& title, const QVector<seq::LengthBar>& bars);
    // Buttons placed and the chart fitted; the caller fills the chart afterwards.
    void FormShow() override;
    ExerciseKind tipKind() const override { return m_tipKind; }

private:
    ExerciseKind m_tipKind;
};

} // namespace gf

#pragma once

#include "exercises/results/TResultGraphDlg.h"

#include <memory>

class QPainter;
class QSplitter;

namespace gf {

class tGraphPanel;
struct tConfig;

// Results of the word or picture search just played: right answers per level and per
// category, printable on one page, with the tip of the day.
class TGraphDlg final : public TResultGraphDlg
{
    Q_OBJECT

public:
    explicit TGraphDlg(AppContext& ctx, QWidget* parent = nullptr);

    // Set by the caller before showing: 1 picture search, 2 word search, and the table
    // of the run of each.
    quint16 ChartMode = 2;
    std::shared_ptr<const tConfig> WordTable;
    std::shared_ptr<const tConfig> PictureTable;
    QSplitter* Splitter;
    tGraphPanel* LevelChart;
    tGraphPanel* CatChart;

    // Fills both charts from the table of ChartMode (done on showing).
    void fillCharts();
    // Heading and both charts onto an active painter of a page.
    bool printPage(QPainter& painter) override;

protected:
    ExerciseKind tipKind() const override;
    void FormShow() override;
};

} // namespace gf

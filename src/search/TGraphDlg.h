#pragma once

#include "widgets/TBaseDlg.h"

#include <memory>

class QPainter;
class QSplitter;

namespace gf {

class TPushButton;
class TSingleTipDlg;
class tGraphPanel;
struct tConfig;

// Results of the word or picture search just played: right answers per level and per
// category, printable on one page, with the tip of the day.
class TGraphDlg final : public TBaseDlg
{
    Q_OBJECT

public:
    explicit TGraphDlg(AppContext& ctx, QWidget* parent = nullptr);

    // Set by the caller before showing: 1 picture search, 2 word search, and the table
    // of the run of each.
    quint16 ChartMode = 2;
    std::shared_ptr<const tConfig> WordTable;
    std::shared_ptr<const tConfig> PictureTable;
    // The program's tip window; without one the window uses one of its own.
    TSingleTipDlg* SingleTipDlg = nullptr;

    QSplitter* Splitter;
    tGraphPanel* LevelChart;
    tGraphPanel* CatChart;
    TPushButton* PrintBtn;
    TPushButton* CommentBtn; // "&Tipps"
    TPushButton* OKBtn;      // "&Schließen"

    // Fills both charts from the table of ChartMode (done on showing).
    void FillCharts();
    // Heading and both charts onto an active painter of a page.
    void PrintPage(QPainter& painter);

    void PrintBtnClick();
    void CommentBtnClick();

protected:
    void FormShow() override;

private:
    TSingleTipDlg* m_ownTipDlg = nullptr;
};

} // namespace gf

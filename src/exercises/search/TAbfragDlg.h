#pragma once

#include "exercises/search/TSearchQueryDlg.h"

#include <array>

namespace gf {

class TMarker;
class TRadioGroup;

// The question after a word-search task: the words of the sought category as a list of
// options, a marker and the verdict beside the chosen word.
class TAbfragDlg final : public TSearchQueryDlg
{
    Q_OBJECT

public:
    explicit TAbfragDlg(AppContext& ctx, QWidget* parent = nullptr);

    TRadioGroup* RadioGroup;
    std::array<TMarker*, MaxOptions> Richtig{}; // the word that was sought
    std::array<TMarker*, MaxOptions> Falsch{};  // a wrong choice
    std::array<TMarker*, MaxOptions> OK{};      // a right choice

    int highlighted() const override;

protected:
    void showOptions(const search::tQuery& query) override;
    int optionCount() const override;
    void showVerdict(int index, bool correct, int sought) override;
    void moveHighlight(int key) override;
    bool answerable() const override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void highlight(int index);
    // Puts a marker and, when given, a label at the height of option `row`.
    void mark(TMarker* marker, QLabel* label, int row);
};

} // namespace gf

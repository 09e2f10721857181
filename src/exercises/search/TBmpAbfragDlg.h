#pragma once

#include "exercises/search/TSearchQueryDlg.h"

#include <array>

namespace gf {

class TImage;

// The question after a picture-search pass: the pictures of the sought category, 2 x 2;
// the answer framed and captioned with its verdict.
class TBmpAbfragDlg final : public TSearchQueryDlg
{
    Q_OBJECT

public:
    explicit TBmpAbfragDlg(AppContext& ctx, QWidget* parent = nullptr);

    // State of the question, set when shown.
    int ItemIndex = -1; // the chosen picture (0-based), -1 before the answer
    std::array<QString, MaxOptions + 1> PictureNames; // [1..4]

    std::array<TImage*, MaxOptions> Pictures{};

    int highlighted() const override { return m_highlight; }

    // A frame around picture `index` as the window draws it: margin and colour.
    QRect frameRect(int index) const;
    struct Frame
    {
        int index;
        QColor colour;
    };
    // The frames drawn on every paint: the answer's, or the keyboard highlight.
    QList<Frame> frames() const;

protected:
    void showOptions(const search::tQuery& query) override;
    int optionCount() const override { return MaxOptions; }
    bool isOption(int index) const override;
    void showVerdict(int index, bool correct, int sought) override;
    void moveHighlight(int key) override;
    bool answerable() const override;
    void paintEvent(QPaintEvent* event) override;

private:
    void placeLabel(QLabel* label, int index);

    int m_sought = -1;
    bool m_correct = false;
    int m_highlight = -1;
};

} // namespace gf

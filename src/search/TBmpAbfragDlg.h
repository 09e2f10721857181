#pragma once

#include "widgets/TBaseDlg.h"

#include <array>

class QLabel;

namespace gf {

class TImage;
class TPushButton;
class tSearchRun;

// The question after a picture-search pass: the pictures of the sought category; one
// click counts. Closes with mrOk once answered.
class TBmpAbfragDlg final : public TBaseDlg
{
    Q_OBJECT

public:
    explicit TBmpAbfragDlg(AppContext& ctx, QWidget* parent = nullptr);

    // Set by the run before showing; the question and the scoring are the run's.
    tSearchRun* Run = nullptr;

    // State of the question, set when shown.
    QString Target;
    int Category = -1;
    bool Answered = false;
    int ItemIndex = -1; // the chosen picture (0-based), -1 before the answer
    std::array<QString, 5> PictureNames; // [1..4]

    QLabel* QuestionPanel;
    std::array<TImage*, 4> Pictures{};
    QLabel* VerdictLabel;
    QLabel* CorrectionLabel;
    TPushButton* HelpBtn;
    TPushButton* OKBtn; // "&Weiter"

    // The trainee clicks picture `index` (0-based); only the first click counts.
    void Choose(int index);
    int highlighted() const { return m_highlight; }

    // A frame around picture `index` as the window draws it: margin and colour.
    QRect frameRect(int index) const;
    struct Frame
    {
        int index;
        QColor colour;
    };
    // The frames drawn on every paint: the answer's, or the keyboard highlight.
    QList<Frame> frames() const;

public slots:
    void reject() override; // Escape: as "&Weiter"

protected:
    void FormShow() override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void OKBtnClick();
    void placeLabel(QLabel* label, int index);

    int m_sought = -1;
    bool m_correct = false;
    int m_highlight = -1;
};

} // namespace gf

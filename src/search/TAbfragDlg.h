#pragma once

#include "widgets/TBaseDlg.h"

#include <array>

class QLabel;

namespace gf {

class TMarker;
class TPushButton;
class TRadioGroup;
class tSearchRun;

// The question after a word-search task: the words of the sought category as options;
// one answer counts. Closes with mrOk once answered.
class TAbfragDlg final : public TBaseDlg
{
    Q_OBJECT

public:
    explicit TAbfragDlg(AppContext& ctx, QWidget* parent = nullptr);

    // Set by the run before showing; the question and the scoring are the run's.
    tSearchRun* Run = nullptr;

    // State of the question, set when shown.
    QString Target;
    int Category = -1;
    bool Answered = false;

    QLabel* QuestionPanel;
    TRadioGroup* RadioGroup;
    std::array<TMarker*, 4> Richtig{}; // the word that was sought
    std::array<TMarker*, 4> Falsch{};  // a wrong choice
    std::array<TMarker*, 4> OK{};      // a right choice
    QLabel* VerdictLabel;
    QLabel* CorrectionLabel;
    TPushButton* HelpBtn;
    TPushButton* OKBtn; // "&Weiter"

    // The trainee chooses option `index` (0-based); only the first choice counts.
    void Choose(int index);
    // The option with the keyboard highlight, -1 for none.
    int highlighted() const;

public slots:
    void reject() override; // Escape: as "&Weiter"

protected:
    void FormShow() override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OKBtnClick();
    bool handleKey(QKeyEvent* event);
    void highlight(int index);
    // Puts a marker and, when given, a label at the height of option `row`.
    void mark(TMarker* marker, QLabel* label, int row);
};

} // namespace gf

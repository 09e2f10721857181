#pragma once

#include "toolkit/TBaseDlg.h"

#include <QColor>

class QLabel;

namespace gf {

class TPushButton;
class tSearchRun;
namespace search {
struct tQuery;
}

// The question after a search task: the items of the sought category as options, one
// answer counting, the verdict at the chosen option and, after a wrong answer, the
// correction at the sought one. Closes with mrOk once answered. The word and the
// picture query differ only in how they show the options and mark the answer.
class TSearchQueryDlg : public TBaseDlg
{
    Q_OBJECT

public:
    // A question offers at most this many options.
    static constexpr int MaxOptions = 4;

    // Set by the run before showing; the question and the scoring are the run's.
    tSearchRun* Run = nullptr;

    // State of the question, set when shown.
    QString Target;
    int Category = -1;
    bool Answered = false;

    QLabel* QuestionPanel;
    QLabel* VerdictLabel = nullptr;    // made by the window
    QLabel* CorrectionLabel = nullptr; // made by the window
    TPushButton* HelpBtn;
    TPushButton* OKBtn; // "&Weiter"

    // The trainee chooses option `index` (0-based); only the first choice counts.
    void Choose(int index);
    // The option with the keyboard highlight, -1 for none.
    virtual int highlighted() const = 0;

public slots:
    void reject() override; // Escape: as "&Weiter"

protected:
    // `reminder` answers "&Weiter" before the question is answered.
    TSearchQueryDlg(AppContext& ctx, QWidget* parent, int questionHeight, int questionPixels,
                    const QString& reminder);

    // The verdict's colours: a right choice, a wrong one, the option that was sought.
    static inline const QColor RightColour{0, 255, 0};
    static inline const QColor WrongColour{255, 0, 0};
    static inline const QColor SoughtColour{0, 255, 255};

    void FormShow() override;
    void keyPressEvent(QKeyEvent* event) override;
    // The question's keys: a number chooses that option, the arrows move the highlight,
    // Enter and Space choose the highlighted option or go on. True when taken.
    bool handleKey(QKeyEvent* event);

    // Shows the options of a new question, the window's own marks cleared.
    virtual void showOptions(const search::tQuery& query) = 0;
    // How many options the number keys reach.
    virtual int optionCount() const = 0;
    virtual bool isOption(int index) const { return index >= 0 && index < optionCount(); }
    // Marks the answer: the chosen option and, after a wrong one, the `sought` option
    // (-1 when it is not among them). The labels' texts and colours are set.
    virtual void showVerdict(int index, bool correct, int sought) = 0;
    // An arrow key before the answer.
    virtual void moveHighlight(int key) = 0;
    // False for a question that cannot be answered; it must not hold the trainee.
    virtual bool answerable() const = 0;

private:
    void OKBtnClick();

    QString m_reminder;
};

} // namespace gf

#pragma once

#include "core/data/Records.h"
#include "core/sequence/MemoRules.h"
#include "exercises/sequence/TSeqExerciseDlg.h"

#include <QPixmap>
#include <array>
#include <memory>

#include <QFrame>
class QLabel;

namespace gf {

class Random;
class StepClock;
class TImage;
class TPushButton;
class tMemoExercise;


// The memo protocol: at night a stranger prowls about a farm; events are shown as
// pictures, sounds or both, and the trainee, the only witness, clicks them back in
// their order on a keypad of ten pictures. Ends with mrOk after the last task, mrCancel
// when broken off.
class TBMPPresentDlg final : public TSeqExerciseDlg
{
    Q_OBJECT

public:
    explicit TBMPPresentDlg(AppContext& ctx, QWidget* parent = nullptr);
    // Tests and the benchmark run the rules on a clock of their own.
    TBMPPresentDlg(AppContext& ctx, QWidget* parent, StepClock& clock, Random& random);
    ~TBMPPresentDlg() override;

    // Set by the caller before showing, with TasksTotal.
    quint16 Mode = 2; // 1 hear, 2 see, 3 both
    quint16 LevelLimitLow = memo::LevelLimitLow;
    quint16 LevelLimitHigh = memo::LevelLimitHigh;
    // The run's record: its head set by the caller, filled while the exercise runs,
    // then handed over to the session by the caller.
    tBmpSndStat Record;

    QFrame* ImagePanel; // the stage
    TImage* Image;
    QLabel* pn_Trial;                       // counts the events of the presentation
    QFrame* Pnl;                            // the answer row
    std::array<TImage*, 20> AnswerImages{}; // Image1 .. Image20
    QFrame* Bevel1;
    std::array<TImage*, 10> TastKeys{}; // Tast1 .. Tast10: key i stands for event i - 1
    QFrame* CorrectPanel;
    std::array<TImage*, 20> CorrectImages{}; // CImage1 .. CImage20
    QLabel* InstruktMemo;
    TPushButton* NewStartPanel; // ">> Neu eingeben >>"
    QLabel* KorrektLbl;
    QLabel* WrongLbl;
    QLabel* AnnoteLlb;

    tMemoExercise& Exercise() { return *m_exercise; }

    static const QString& startCaption();

protected:
    void FormShow() override;
    void keyPressEvent(QKeyEvent* event) override;
    void done(int result) override;
    QString askedFor() const override;
    void startTask() override;
    QWidget* stage() const override { return ImagePanel; }
    std::vector<MemoryRange> presentationBuffers() override;

private:
    class Media;

    void build();
    void loadPictures();
    void TastClick(int key);
    void NewStartPanelClick();
    void mediaMissing(const QString& path);
    void showPhase();
    void showStage();
    void showAnswer();
    void showKey(int key, bool pressed);
    void showEvaluation(bool right);
    void setAnswerRowColour(const QColor& colour);

    std::unique_ptr<Media> m_media;
    std::unique_ptr<tMemoExercise> m_exercise;
    int m_shownStep = -1;

    // Pictures of the events, made to the size of each place they are shown in.
    std::array<QPixmap, memo::EventCount> m_stagePics;
    std::array<QPixmap, memo::EventCount> m_stageNumbers;
    std::array<QPixmap, memo::EventCount> m_keyPics;
    std::array<QPixmap, memo::EventCount> m_rowPics;
    QPixmap m_dot;
    QPixmap m_emptyStage;
};

} // namespace gf

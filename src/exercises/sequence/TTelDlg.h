#pragma once

#include "core/data/Records.h"
#include "exercises/sequence/TSeqExerciseDlg.h"

#include <QLabel>
#include <array>
#include <memory>

class QFrame;

namespace gf {

class Random;
class SoundPlayer;
class StepClock;
class TImage;
class tTelExercise;


// A key of the telephone: a square panel that reports a left click while enabled.
class TTelKey final : public QLabel
{
    Q_OBJECT
public:
    TTelKey(const QString& caption, QWidget* parent);
    void setFace(const QColor& colour);
    QColor face() const { return m_face; }

signals:
    void clicked();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_face;
};

// The telephone switchboard: an information service gives a number digit by digit,
// the trainee dials it back. Ends with mrOk after the last task, mrCancel when broken
// off.
class TTelDlg final : public TSeqExerciseDlg
{
    Q_OBJECT

public:
    explicit TTelDlg(AppContext& ctx, QWidget* parent = nullptr);
    // Tests and the benchmark run the rules on a clock of their own.
    TTelDlg(AppContext& ctx, QWidget* parent, StepClock& clock, Random& random);
    ~TTelDlg() override;

    // The run's record: its head (mode, stamp, count) set by the caller before showing,
    // filled while the exercise runs, then handed over to the session by the caller.
    tTeleStat Record;

    QFrame* Pnl;     // the telephone display
    QLabel* Display; // its text
    TImage* BackImage;
    QFrame* Bevel1;
    std::array<TTelKey*, 10> Buttons{}; // Buttons[d] dials d
    TTelKey* SpeedButton10;             // "Auflegen"

    tTelExercise& Exercise() { return *m_exercise; }

    // Key flash length.
    static constexpr std::chrono::milliseconds FlashTime{150};

protected:
    void FormShow() override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void done(int result) override;
    QString askedFor() const override;
    void startTask() override;
    QWidget* stage() const override { return Display; }

private:
    class PlayerAudio;

    void build();
    void BackgroundClick();
    void KeyClick(int digit);
    void HangUpClick();
    void EscapePressed();
    void showDisplay();
    void setKeypadEnabled(bool enabled);
    void flash(TTelKey* key);

    std::unique_ptr<SoundPlayer> m_player;
    bool m_playerSilent = false;
    std::unique_ptr<PlayerAudio> m_audio;
    std::unique_ptr<tTelExercise> m_exercise;
};

} // namespace gf

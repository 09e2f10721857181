#include "exercises/sequence/TTelDlg.h"

#include "render/PanelCanvas.h"
#include "core/data/MessageSink.h"
#include "core/data/ProgramData.h"
#include "core/data/Random.h"
#include "core/data/Records.h"
#include "core/data/Timing.h"
#include "core/sequence/tTelExercise.h"
#include "platform/MediaFiles.h"
#include "platform/SoundPlayer.h"
#include "toolkit/Accessibility.h"
#include "toolkit/AppContext.h"
#include "toolkit/Look.h"
#include "toolkit/TImage.h"
#include "toolkit/TSkinButton.h"
#include "toolkit/TxMsgDlg.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QTimer>
#include <qdrawutil.h>

namespace gf {

namespace {

using namespace std::chrono;

constexpr int KeySize = 73;
constexpr int KeyGap = 8;
constexpr int PadWidth = 3 * KeySize + 2 * KeyGap;
constexpr int PadLeft = (800 - PadWidth) / 2;
constexpr int HangUpTop = 118;
constexpr int HangUpHeight = 40;
constexpr int FirstRowTop = HangUpTop + HangUpHeight + KeyGap;

const QColor Navy(0, 0, 128);
const QColor FlashBlue(0, 0, 255);
const QColor HangUpFace(42, 101, 154);

QColor toneColour(tTelExercise::Tone tone)
{
    switch (tone) {
    case tTelExercise::Tone::Wrong:
        return QColor(255, 255, 0);
    case tTelExercise::Tone::Right:
        return QColor(0, 255, 0);
    case tTelExercise::Tone::Normal:
        break;
    }
    return QColor(Qt::white);
}

} // namespace

// ---------------------------------------------------------------------------------

TTelKey::TTelKey(const QString& caption, QWidget* parent) : QLabel(caption, parent), m_face(Navy)
{
    setTextFormat(Qt::PlainText);
    setAttribute(Qt::WA_OpaquePaintEvent); // nothing behind a key needs repainting
    setCursor(Qt::PointingHandCursor);
    // Tab reaches the keys and Space presses one; the digits dial as before, wherever
    // the focus is.
    setFocusPolicy(Qt::TabFocus);
    // the caption keeps clear of the key's shaded edge (the low-vision look fits it in)
    setContentsMargins(3, 3, 3, 3);
    access::makeButton(this, caption, [this] {
        if (isEnabled())
            emit clicked();
    });
}

void TTelKey::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier) {
        if (isEnabled())
            emit clicked();
        return;
    }
    QLabel::keyPressEvent(event);
}

void TTelKey::setFace(const QColor& colour)
{
    m_face = colour;
    update();
}

void TTelKey::paintEvent(QPaintEvent*)
{
    // Drawn directly: enabling the keypad happens on the presentation's schedule and
    // must not restyle eleven widgets.
    QPainter p(this);
    const QRect r = rect();
    p.fillRect(r, m_face);
    qDrawShadePanel(&p, r, palette(), false, 2);
    p.setFont(font());
    // A key that cannot be pressed now keeps its face but dims its caption.
    p.setPen(isEnabled() ? QColor(Qt::white)
                         : look::pick(QColor(150, 150, 190), QColor(230, 230, 230)));
    drawWatchedText(p, r, Qt::AlignCenter, text());
    if (hasFocus())
        look::drawFocusFrame(p, r);
}

void TTelKey::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && isEnabled()) {
        event->accept();
        emit clicked();
        return;
    }
    QLabel::mousePressEvent(event);
}

// ---------------------------------------------------------------------------------

// The exercise's sound through the program's player. Nothing waits here: the exercise
// asks again until the sound has ended.
class TTelDlg::PlayerAudio final : public TelAudio
{
public:
    void use(const QString& wavDir, SoundPlayer* player, bool silent)
    {
        m_wavDir = wavDir;
        m_player = player;
        m_silent = silent;
    }

    QString checkSound() override
    {
        if (!m_player)
            return QStringLiteral("keine Soundkarte gefunden wurde oder \n\r die Karte nicht "
                                  "korrekt installiert ist");
        const QString& wav = m_wavDir;
        const bool ok = m_player->playFile(mediaPath(wav, QStringLiteral("1.wav")));
        QString reason;
        if (!ok)
            reason = m_player->errorCode() != 0
                         ? m_player->errorText()
                         : QStringLiteral("keine Soundkarte gefunden wurde oder \n\r die Karte "
                                          "nicht korrekt installiert ist");
        m_player->stop();
        m_player->close();
        if (!reason.isEmpty())
            return reason;
        for (int d = 0; d <= 9; ++d)
            if (!mediaFileExists(wav, QStringLiteral("%1.wav").arg(d)))
                return QStringLiteral("die Sounddateien nicht verfügbar sind");
        return QString();
    }

    Start play(const QString& fileName) override
    {
        const QString path = resolveMediaFile(m_wavDir, fileName);
        if (path.isEmpty())
            return Start::Missing;
        if (!m_player || !m_player->playFile(path))
            return Start::Failed;
        // An output may report "playing" only once it has really started; the
        // recording's own length keeps the next step from coming too early.
        // A silent player takes the recording's time too, at the program's pace.
        m_until = steady_clock::now();
        if (const auto info = readWavInfo(path))
            m_until += m_silent ? timing::scaled(duration_cast<milliseconds>(info->duration))
                                : info->duration;
        return Start::Playing;
    }

    bool isPlaying() override
    {
        return (m_player && m_player->isPlaying()) || steady_clock::now() < m_until;
    }

    void Stop() override
    {
        m_until = steady_clock::now();
        if (m_player)
            m_player->stop();
    }

    QString pathOf(const QString& fileName) const override
    {
        return mediaPath(m_wavDir, fileName);
    }

    milliseconds duration(const QString& fileName) const override
    {
        const auto info = readWavInfo(resolveMediaFile(m_wavDir, fileName));
        return info ? duration_cast<milliseconds>(info->duration) : milliseconds{};
    }

private:
    QString m_wavDir;
    SoundPlayer* m_player = nullptr;
    bool m_silent = true;
    steady_clock::time_point m_until{};
};

// ---------------------------------------------------------------------------------

TTelDlg::TTelDlg(AppContext& ctx, QWidget* parent) : TTelDlg(ctx, parent, preciseStepClock(), rng()) {}

TTelDlg::TTelDlg(AppContext& ctx, QWidget* parent, StepClock& clock, Random& random)
    : TSeqExerciseDlg(ctx, parent)
{
    setWindowTitle(QStringLiteral("Telefonvermittlung"));
    HelpKey = QStringLiteral("TelDlg");
    m_audio = std::make_unique<PlayerAudio>();
    m_exercise =
        std::make_unique<tTelExercise>(random, *m_audio, m_presentation.stageClock(clock, this));
    setExercise(*m_exercise);
    build();

    tTelExercise* ex = m_exercise.get();
    connect(ex, &tTelExercise::displayChanged, this, &TTelDlg::showDisplay);
    connect(ex, &tTelExercise::phaseChanged, this, [this](tTelExercise::Phase phase) {
        setKeypadEnabled(phase == tTelExercise::Phase::Dialling);
        // Held until the number is dialled: each key's digit shows on time too.
        m_presentation.setPresenting((phase == tTelExercise::Phase::Presenting ||
                                      phase == tTelExercise::Phase::Dialling) &&
                                     isVisible());
        StartPanel->setVisible(phase == tTelExercise::Phase::Ready);
        showStatus();
    });
    connect(ex, &tTelExercise::taskStarted, this, [this](int done, int) {
        TasksDone = quint16(done);
        showStatus();
    });
    connect(ex, &tTelExercise::busyChanged, this, [this](bool busy) {
        if (busy)
            setCursor(Qt::WaitCursor);
        else
            unsetCursor();
    });
    connect(ex, &tTelExercise::soundUnavailable, this, [](const QString& reason) {
        xMessageDlg(QStringLiteral("Eine akustische Darstellung ist nicht möglich, weil \n\r") +
                        reason + QStringLiteral("\n\r") +
                        QStringLiteral("Stattdessen werden die Nummern visuell nacheinander "
                                       "dargestellt"),
                    mkBitteBestaetigen, btn::OK, 0);
    });
    connect(ex, &tTelExercise::digitFileMissing, this, [](const QString& path) {
        xMessageDlg(path + QStringLiteral(" existiert nicht!"), mkFehlermeldung, btn::OK, 0);
    });
    connect(ex, &tTelExercise::exerciseFinished, this, [this] { done(mrOk); });
}

TTelDlg::~TTelDlg()
{
    m_exercise->Stop();
}

void TTelDlg::build()
{
    BackImage = makeBackImage(QRect(0, 0, 800, 600));

    Pnl = new QFrame(this);
    Pnl->setGeometry(0, 0, 800, 105);
    look::setBackground(Pnl, look::statusBar());
    Display = new QLabel(Pnl);
    Display->setGeometry(0, 0, 800, 105);
    Display->setAlignment(Qt::AlignCenter);
    Display->setTextFormat(Qt::PlainText);
    Display->setFont(look::courier(40, true));
    look::setTextColour(Display, Qt::white);

    Bevel1 = new QFrame(this);
    Bevel1->setFrameShape(QFrame::Box);
    Bevel1->setFrameShadow(QFrame::Raised);
    Bevel1->setLineWidth(1);
    Bevel1->setMidLineWidth(1);
    Bevel1->setGeometry(PadLeft - 14, HangUpTop - 12, PadWidth + 28,
                        FirstRowTop + 4 * KeySize + 3 * KeyGap + 12 - (HangUpTop - 12));

    SpeedButton10 = new TTelKey(QStringLiteral("Auflegen"), this);
    SpeedButton10->setGeometry(PadLeft, HangUpTop, PadWidth, HangUpHeight);
    SpeedButton10->setFace(HangUpFace);
    SpeedButton10->setFont(look::comic(22, true));
    connect(SpeedButton10, &TTelKey::clicked, this, &TTelDlg::HangUpClick);

    for (int d = 0; d <= 9; ++d) {
        // telephone order: 1 2 3 / 4 5 6 / 7 8 9, 0 centred below
        const int row = d == 0 ? 3 : (d - 1) / 3;
        const int col = d == 0 ? 1 : (d - 1) % 3;
        auto* key = new TTelKey(QString::number(d), this);
        key->setGeometry(PadLeft + col * (KeySize + KeyGap), FirstRowTop + row * (KeySize + KeyGap),
                         KeySize, KeySize);
        key->setFont(look::comic(32, true));
        connect(key, &TTelKey::clicked, this, [this, d] { KeyClick(d); });
        Buttons[std::size_t(d)] = key;
    }

    buildFrame(QStringLiteral("Auskunft (hier!) &starten"));
    // it stands beside the keypad, in a narrow column: the caption takes three lines
    StartPanel->setFont(look::comic(30, true));
}

void TTelDlg::FormShow()
{
    AppContext& ctx = this->ctx();

    TSeqExerciseDlg::FormShow();
    // Beside the keypad, so that the start button covers no key at any screen size.
    const QRect pad = Bevel1->geometry();
    const int gap = ctx.ScreenHeight / 60;
    const int side = qMin(width() - pad.right() - 2 * gap, pad.height());
    StartPanel->setFixedSize(side, qMin(pad.height(), side * 5 / 4));
    StartPanel->move(pad.right() + gap, pad.center().y() - StartPanel->height() / 2);
    Pnl->setGeometry(0, 0, width(), Pnl->height());
    Display->setGeometry(Pnl->rect());

    BackImage->hide();
    BackImage->setGeometry(rect());
    BackImage->loadFitted(mediaPath(ctx.paths.BmpDir, QStringLiteral("wolken.bmp")));
    BackImage->show();

    // The test-run mode plays nothing; the program's run plays through its own player.
    if (!m_player || m_playerSilent != ctx.testRun) {
        m_exercise->Stop();
        m_player = createSoundPlayer(ctx.testRun);
        m_playerSilent = ctx.testRun;
        m_audio->use(ctx.paths.WavDir, m_player.get(), m_playerSilent);
        if (!m_playerSilent) {
            QStringList files;
            for (int d = 0; d <= 9; ++d)
                files << QStringLiteral("%1.wav").arg(d);
            files << QStringLiteral("Wahlton.WAV");
            for (int i = 1; i <= 20; ++i)
                files << QStringLiteral("N%1.WAV").arg(i);
            for (int i = 1; i <= 17; ++i)
                files << QStringLiteral("J%1.WAV").arg(i);
            for (QString& f : files)
                f = resolveMediaFile(ctx.paths.WavDir, f);
            files.removeAll(QString());
            m_player->preload(files);
        }
    }
    // Glyphs are loaded on first use; load the display's now, not at the first digit.
    QFontMetrics(Display->font())
        .horizontalAdvance(QStringLiteral("0123456789*- Verbunden!Falsch"));
    unsetCursor();

    int stored = tel::MinLength;
    const int mode = std::clamp<int>(ctx.TelMode, 1, 3);
    if (ctx.data && ctx.data->CurrentUser)
        stored = ctx.data->CurrentUser->TelLevel[mode];
    m_exercise->prepare(mode, stored, TasksTotal, &Record);
    showDisplay();
    showStatus();
    setFocus();
}

void TTelDlg::showDisplay()
{
    // Runs at every presented digit: keep it to what changed.
    const QColor colour = toneColour(m_exercise->tone());
    if (Display->palette().color(QPalette::WindowText) != colour)
        look::setTextColour(Display, colour);
    Display->setText(m_exercise->display());
    access::announce(Display, m_exercise->display());
    // Drawn now, not at the next turn of the event loop: a digit is given when the
    // trainee sees it.
    if (Display->isVisible())
        Display->repaint();
}

QString TTelDlg::askedFor() const
{
    return m_exercise->number();
}

void TTelDlg::setKeypadEnabled(bool enabled)
{
    for (TTelKey* key : Buttons)
        key->setEnabled(enabled);
    SpeedButton10->setEnabled(enabled);
}

void TTelDlg::startTask()
{
    m_exercise->startTask();
}

void TTelDlg::BackgroundClick()
{
    if (!StartPanel->isVisible())
        return;
    xMessageDlg(QStringLiteral("Um die Aufgabe zu beginnen,  bewegen Sie die Maus bitte auf die "
                               "Schaltfläche  \"Auskunft starten\" und drücken die linke Taste  "
                               "der Maus!"),
                mkAchtung, btn::OK, 0);
}

void TTelDlg::flash(TTelKey* key)
{
    key->setFace(FlashBlue);
    key->repaint();
    QPointer<TTelKey> guard(key);
    QTimer::singleShot(timing::scaled(FlashTime), this, [guard] {
        if (guard)
            guard->setFace(Navy);
    });
}

void TTelDlg::KeyClick(int digit)
{
    if (!m_exercise->keypadEnabled() || m_exercise->busy())
        return;
    flash(Buttons[std::size_t(digit)]);
    m_exercise->dial(digit);
}

void TTelDlg::HangUpClick()
{
    m_exercise->hangUp();
}

void TTelDlg::EscapePressed()
{
    askToBreakOff(QStringLiteral("Möchten Sie die Telefonvermittlung wirklich abbrechen?"));
}

void TTelDlg::done(int result)
{
    m_exercise->Stop();
    if (m_player)
        m_player->close();
    unsetCursor();
    TSeqExerciseDlg::done(result);
}

void TTelDlg::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        EscapePressed();
        return;
    }
    // Both the number pad and the top row dial: a laptop has no number pad.
    const int key = event->key();
    const bool plain = !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    if (plain && key >= Qt::Key_0 && key <= Qt::Key_9) {
        event->accept();
        KeyClick(key - Qt::Key_0);
        return;
    }
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        event->accept();
        if (!event->isAutoRepeat())
            StartPanelClick();
        return;
    }
    TSeqExerciseDlg::keyPressEvent(event);
}

void TTelDlg::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        BackgroundClick();
    TSeqExerciseDlg::mousePressEvent(event);
}

} // namespace gf

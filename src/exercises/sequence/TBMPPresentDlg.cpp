#include "exercises/sequence/TBMPPresentDlg.h"

#include "core/data/MessageSink.h"
#include "core/data/ProgramData.h"
#include "core/data/Random.h"
#include "core/data/Records.h"
#include "core/sequence/tMemoExercise.h"
#include "platform/MediaFiles.h"
#include "platform/SoundPlayer.h"
#include "toolkit/AppContext.h"
#include "toolkit/Look.h"
#include "toolkit/TImage.h"
#include "toolkit/TPushButton.h"
#include "toolkit/TSkinButton.h"
#include "toolkit/TxMsgDlg.h"

#include <QFileInfo>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>

namespace gf {

namespace {

using Phase = tMemoExercise::Phase;

// Layout in design pixels. The answer row and the correct sequence hold two rows of
// ten pictures; the keypad is three rows of three with the tenth key centred below.
constexpr int RowPic = 70;
constexpr int RowPitch = 78;
constexpr int RowLeft = 15;
constexpr int RowTop = 6;
constexpr int PanelHeight = 160;
constexpr int KeySize = 70;
constexpr int KeyPitch = 78;
constexpr int PadMargin = 8;
constexpr int PadLeft = 530;
constexpr int PadTop = 172;
constexpr int StageWidth = 250;
constexpr int StageHeight = 251;
constexpr int StageFrame = 2;
constexpr int StageLeft = (PadLeft - StageWidth) / 2 - StageFrame;
constexpr int PadHeight = 2 * PadMargin + 3 * KeyPitch + KeySize;
constexpr int TrialGap = 8;
constexpr int TrialHeight = 36;
// The stage and its event count, centred on the keypad's height.
constexpr int StageTop =
    PadTop + (PadHeight - (StageHeight + 2 * StageFrame + TrialGap + TrialHeight)) / 2;
constexpr int CorrectTop = 246;

const QColor RightGreen(82, 191, 160);
const QColor WrongPurple(128, 0, 128);
const QColor Night(Qt::black); // the empty stage, and a key while it is pressed

// A tile with an event's key number, for an event whose picture cannot be loaded.
QPixmap numberTile(QSize size, int number)
{
    QPixmap tile(size);
    tile.fill(Night);
    QPainter p(&tile);
    p.setPen(Qt::white);
    p.setFont(look::comic(std::max(8, size.height() / 2), true));
    p.drawText(tile.rect(), Qt::AlignCenter, QString::number(number));
    return tile;
}

// The digit that enters a key from the keyboard, small in the key's lower right corner.
QPixmap withKeyDigit(QPixmap key, int number)
{
    QPainter p(&key);
    p.setRenderHint(QPainter::Antialiasing);
    const int d = std::max(12, key.width() * 2 / 7);
    const QRect badge(key.width() - d - 2, key.height() - d - 2, d, d);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 170));
    p.drawEllipse(badge);
    p.setPen(Qt::white);
    p.setFont(look::arial(std::max(8, d * 2 / 3), true));
    p.drawText(badge, Qt::AlignCenter, QString::number(number % 10));
    return key;
}

QPixmap loadScaled(const QString& path, QSize size)
{
    QPixmap pic;
    if (path.isEmpty() || !pic.load(path))
        return QPixmap();
    return pic.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

QLabel* makeLabel(QWidget* parent, const QString& text, const QFont& font, const QColor& colour,
                  const QRect& geometry, Qt::Alignment align = Qt::AlignCenter)
{
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setFont(font);
    look::setTextColour(label, colour);
    label->setAlignment(align);
    label->setGeometry(geometry);
    return label;
}

} // namespace

// ---------------------------------------------------------------------------------

// The event pictures the window has loaded, and the event sounds through the
// program's player (silent in the test-run mode).
class TBMPPresentDlg::Media final : public MemoMedia
{
public:
    explicit Media(TBMPPresentDlg& dlg) : m_dlg(dlg) {}

    bool hasPicture(int item) override
    {
        return item >= 0 && item < memo::EventCount &&
               !m_dlg.m_stagePics[std::size_t(item)].isNull();
    }

    Start playSound(int item) override
    {
        const QString path = resolveMediaFile(m_dlg.ctx().paths.WavDir, memo::soundFile(item));
        if (path.isEmpty())
            return Start::Missing;
        SoundPlayer* player = m_dlg.ctx().player;
        if (!player || !player->playFile(path))
            return Start::Failed;
        return Start::Playing;
    }

    void stopSound() override
    {
        if (SoundPlayer* player = m_dlg.ctx().player) {
            player->stop();
            player->close();
        }
    }

    QString picturePath(int item) const override
    {
        return mediaPath(m_dlg.ctx().paths.BmpDir, memo::pictureFile(item));
    }
    QString soundPath(int item) const override
    {
        return mediaPath(m_dlg.ctx().paths.WavDir, memo::soundFile(item));
    }

private:
    TBMPPresentDlg& m_dlg;
};

// ---------------------------------------------------------------------------------

const QString& TBMPPresentDlg::startCaption()
{
    static const QString caption = QStringLiteral("Abfrage (hier!) &starten");
    return caption;
}

TBMPPresentDlg::TBMPPresentDlg(AppContext& ctx, QWidget* parent)
    : TBMPPresentDlg(ctx, parent, preciseStepClock(), rng())
{
}

TBMPPresentDlg::TBMPPresentDlg(AppContext& ctx, QWidget* parent, StepClock& clock, Random& random)
    : TSeqExerciseDlg(ctx, parent)
{
    setWindowTitle(QStringLiteral("Memo-Protokoll"));
    HelpKey = QStringLiteral("BMPPresentDlg");
    m_media = std::make_unique<Media>(*this);
    m_exercise =
        std::make_unique<tMemoExercise>(random, *m_media, m_presentation.stageClock(clock, this));
    setExercise(*m_exercise);
    build();

    tMemoExercise* ex = m_exercise.get();
    connect(ex, &tMemoExercise::phaseChanged, this, [this](tMemoExercise::Phase phase) {
        // Held until the answer is in: each key's event shows on time too.
        m_presentation.setPresenting((phase == tMemoExercise::Phase::Presenting ||
                                      phase == tMemoExercise::Phase::Answering) &&
                                     isVisible());
        showPhase();
        showStatus();
    });
    connect(ex, &tMemoExercise::stageChanged, this, &TBMPPresentDlg::showStage);
    connect(ex, &tMemoExercise::answerChanged, this, &TBMPPresentDlg::showAnswer);
    connect(ex, &tMemoExercise::keyPressChanged, this, &TBMPPresentDlg::showKey);
    connect(ex, &tMemoExercise::taskStarted, this, [this](int done, int) {
        TasksDone = quint16(done);
        m_shownStep = -1;
        pn_Trial->clear();
        // Filled now and shown only after a wrong answer.
        const QVector<int>& items = m_exercise->items();
        for (int i = 0; i < int(CorrectImages.size()); ++i)
            CorrectImages[std::size_t(i)]->setPicture(
                i < items.size() ? m_rowPics[std::size_t(items[i])] : QPixmap());
        showStatus();
    });
    connect(ex, &tMemoExercise::mediaMissing, this, &TBMPPresentDlg::mediaMissing);
    connect(ex, &tMemoExercise::exerciseFinished, this, [this] { done(mrOk); });
}

TBMPPresentDlg::~TBMPPresentDlg()
{
    m_exercise->Stop();
}

void TBMPPresentDlg::build()
{
    Pnl = new QFrame(this);
    Pnl->setGeometry(0, 0, 800, PanelHeight);
    look::setBackground(Pnl, look::background());
    CorrectPanel = new QFrame(this);
    CorrectPanel->setGeometry(0, CorrectTop, 800, PanelHeight);
    look::setBackground(CorrectPanel, RightGreen);
    for (int i = 0; i < 20; ++i) {
        const QRect r(RowLeft + (i % 10) * RowPitch, RowTop + (i / 10) * RowPitch, RowPic, RowPic);
        auto* answer = new TImage(Pnl);
        answer->setStretch(true);
        answer->setGeometry(r);
        AnswerImages[std::size_t(i)] = answer;
        auto* correct = new TImage(CorrectPanel);
        correct->setStretch(true);
        correct->setGeometry(r);
        CorrectImages[std::size_t(i)] = correct;
    }

    ImagePanel = new QFrame(this);
    ImagePanel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    ImagePanel->setLineWidth(StageFrame);
    ImagePanel->setGeometry(StageLeft, StageTop, StageWidth + 2 * StageFrame,
                            StageHeight + 2 * StageFrame);
    look::setBackground(ImagePanel, Night);
    Image = new TImage(ImagePanel);
    Image->setStretch(true);
    Image->setGeometry(StageFrame, StageFrame, StageWidth, StageHeight);
    // The stage always holds a picture of its full size (the empty stage is a dark
    // one), so a new event repaints the stage alone and nothing behind it.
    Image->setAttribute(Qt::WA_OpaquePaintEvent);
    pn_Trial = makeLabel(this, QString(), look::comic(19, true), Qt::white,
                         QRect(StageLeft, StageTop + StageHeight + 2 * StageFrame + TrialGap,
                               StageWidth + 2 * StageFrame, TrialHeight));

    Bevel1 = new QFrame(this);
    Bevel1->setFrameShape(QFrame::Box);
    Bevel1->setFrameShadow(QFrame::Raised);
    Bevel1->setLineWidth(1);
    Bevel1->setMidLineWidth(1);
    Bevel1->setGeometry(PadLeft, PadTop, 2 * PadMargin + 2 * KeyPitch + KeySize, PadHeight);
    for (int i = 0; i < 10; ++i) {
        const int row = i / 3;
        const int col = i == 9 ? 1 : i % 3;
        auto* key = new TImage(Bevel1);
        key->setStretch(true);
        key->setGeometry(PadMargin + col * KeyPitch, PadMargin + row * KeyPitch, KeySize, KeySize);
        look::setBackground(key, Night); // seen while the key is pressed
        key->setCursor(Qt::PointingHandCursor);
        connect(key, &TImage::clicked, this, [this, i] { TastClick(i + 1); });
        TastKeys[std::size_t(i)] = key;
    }

    InstruktMemo = makeLabel(this,
                             QStringLiteral("Jetzt sind Sie an der Reihe.\nBitte klicken Sie die \n"
                                            "Bilder in der richtigen\nReihenfolge an. "),
                             look::comic(28), look::silver(), QRect(10, 186, 510, 200));
    NewStartPanel = makeButton(QStringLiteral(">> Neu eingeben >>"), this, 300, 56);
    NewStartPanel->move((PadLeft - 300) / 2, 420);
    NewStartPanel->setFont(look::comic(22, true));
    NewStartPanel->setAutoDefault(false);
    NewStartPanel->setFocusPolicy(Qt::NoFocus);
    connect(NewStartPanel, &QPushButton::clicked, this, &TBMPPresentDlg::NewStartPanelClick);

    KorrektLbl = makeLabel(this, QStringLiteral("Toll! Das war korrekt!"), look::comic(30, true),
                           Qt::white, QRect(10, 250, 510, 60));
    WrongLbl = makeLabel(this, QStringLiteral("Leider nicht getroffen!"), look::comic(30, true),
                         Qt::red, QRect(0, 166, 800, 44));
    AnnoteLlb =
        makeLabel(this, QStringLiteral("Richtig wäre gewesen:"), look::comic(21, true), Qt::white,
                  QRect(RowLeft, 212, 500, 32), Qt::AlignLeft | Qt::AlignVCenter);

    buildFrame(startCaption());
    StartPanel->setFocusPolicy(Qt::NoFocus); // Enter and Alt+S reach it through the window
}

void TBMPPresentDlg::loadPictures()
{
    // Made once per showing at the sizes the screen adaptation gave, so presenting an
    // event is a plain copy of a picture.
    const QString& bmp = ctx().paths.BmpDir;
    const QSize stage = Image->size();
    const QSize key = TastKeys[0]->size();
    const QSize row = AnswerImages[0]->size();
    for (int item = 0; item < memo::EventCount; ++item) {
        const std::size_t i = std::size_t(item);
        QPixmap pic;
        const QString path = resolveMediaFile(bmp, memo::pictureFile(item));
        if (!path.isEmpty())
            pic.load(path);
        const bool ok = !pic.isNull();
        auto fit = [&](QSize size) {
            return ok ? pic.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                      : numberTile(size, item + 1);
        };
        m_stagePics[i] = ok ? fit(stage) : QPixmap();
        m_stageNumbers[i] = numberTile(stage, item + 1);
        m_keyPics[i] = withKeyDigit(fit(key), item + 1);
        m_rowPics[i] = fit(row);
    }
    m_dot = loadScaled(resolveMediaFile(bmp, QStringLiteral("punkt.bmp")), row);
    if (m_dot.isNull()) {
        m_dot = QPixmap(row);
        m_dot.fill(Qt::transparent);
        QPainter p(&m_dot);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        const int d = row.width() / 4;
        p.drawEllipse(QRect(QPoint(0, 0), QSize(d, d))
                          .translated((row.width() - d) / 2, (row.height() - d) / 2));
    }
    m_emptyStage = QPixmap(stage);
    m_emptyStage.fill(Night);
}

void TBMPPresentDlg::FormShow()
{
    AppContext& ctx = this->ctx();

    TSeqExerciseDlg::FormShow();
    StartPanel->setText(startCaption());
    // Left of the keypad, which shows before the first task.
    const int gap = ctx.ScreenHeight / 60;
    StartPanel->setFixedSize(Bevel1->x() - 2 * gap, StartPanel->height());
    StartPanel->move(gap, StartPanel->y());
    // Along the whole top, whatever the screen adaptation's rounding left.
    Pnl->setGeometry(0, 0, width(), Pnl->height());
    CorrectPanel->setGeometry(Pnl->x(), CorrectPanel->y(), Pnl->width(), CorrectPanel->height());
    pn_Trial->clear();
    m_shownStep = -1;

    loadPictures();
    for (int i = 0; i < memo::EventCount; ++i)
        TastKeys[std::size_t(i)]->setPicture(m_keyPics[std::size_t(i)]);

    const int mode = std::clamp<int>(Mode, 1, 3);
    int stored = memo::MinStartLevel;
    if (ctx.data && ctx.data->CurrentUser)
        stored = ctx.data->CurrentUser->MemoLevel[mode];
    m_exercise->prepare(mode, stored, TasksTotal, &Record, LevelLimitLow, LevelLimitHigh);
    showStage();
    showAnswer();
    showPhase();
    showStatus();
    setFocus();
}

void TBMPPresentDlg::showPhase()
{
    const tMemoExercise& ex = *m_exercise;
    const Phase phase = ex.phase();
    if (phase == Phase::Idle || phase == Phase::Finished)
        return;
    const bool ready = phase == Phase::Ready;
    const bool presenting = phase == Phase::Presenting;
    const bool answering = phase == Phase::Answering;
    const bool waiting = phase == Phase::WaitingForStart || phase == Phase::Ending;
    const bool judged = phase == Phase::Feedback || waiting;
    const bool right = judged && ex.lastCorrect();
    const bool wrong = judged && !ex.lastCorrect();

    // Hidden ones first, so nothing is ever drawn over something about to go.
    StartPanel->setVisible(ready || waiting);
    StartPanel->setText(phase == Phase::Ending ? QStringLiteral("Beenden") : startCaption());
    ImagePanel->setVisible(presenting);
    pn_Trial->setVisible(ready || presenting);
    InstruktMemo->setVisible(answering);
    NewStartPanel->setVisible(answering || phase == Phase::Feedback);
    KorrektLbl->setVisible(right);
    WrongLbl->setVisible(wrong);
    AnnoteLlb->setVisible(wrong && !waiting);
    // The correct sequence takes the keypad's place: at 800 x 600 the answer row, the
    // correct sequence, the keypad and the start button cannot all be in view, and the
    // keys cannot be pressed then anyway.
    // Before and during the presentation the keypad shows faded: it takes no answer yet.
    Bevel1->setVisible(ready || presenting || answering || right);
    for (TImage* key : TastKeys)
        key->setEnabled(answering);
    CorrectPanel->setVisible(wrong);
    Pnl->setVisible(answering || judged);
    setAnswerRowColour(right ? RightGreen : wrong ? WrongPurple : look::background());
}

void TBMPPresentDlg::setAnswerRowColour(const QColor& colour)
{
    if (Pnl->palette().color(QPalette::Window) != colour)
        look::setBackground(Pnl, colour);
}

std::vector<MemoryRange> TBMPPresentDlg::presentationBuffers()
{
    // The task's pictures too: each is copied to the stage at its event's onset.
    std::vector<MemoryRange> buffers = paintBuffers(this);
    buffers.push_back(pixelsOf(m_emptyStage));
    const QVector<int>& items = m_exercise->items();
    for (std::size_t item = 0; item < m_stagePics.size(); ++item)
        if (items.contains(int(item))) {
            buffers.push_back(pixelsOf(m_stagePics[item]));
            buffers.push_back(pixelsOf(m_stageNumbers[item]));
        }
    return buffers;
}

void TBMPPresentDlg::showStage()
{
    const tMemoExercise& ex = *m_exercise;
    const std::size_t item = std::size_t(std::max(ex.stageItem(), 0));
    switch (ex.stageShow()) {
    case memo::StageShow::Picture:
        Image->setPicture(m_stagePics[item]);
        break;
    case memo::StageShow::Number:
        Image->setPicture(m_stageNumbers[item]);
        break;
    case memo::StageShow::Empty:
        Image->setPicture(m_emptyStage);
        break;
    }
    // Drawn now, not at the next turn of the event loop: the event begins when the
    // trainee sees it.
    if (Image->isVisible())
        Image->repaint();
    const int step = ex.stageStep();
    if (step > 0 && step != m_shownStep) {
        m_shownStep = step;
        pn_Trial->setText(QString::number(step));
        if (pn_Trial->isVisible())
            pn_Trial->repaint();
    }
}

void TBMPPresentDlg::showAnswer()
{
    const tMemoExercise& ex = *m_exercise;
    const QVector<int>& answer = ex.answer();
    const int len = ex.answerLen();
    for (int i = 0; i < int(AnswerImages.size()); ++i) {
        QPixmap pic;
        if (i < answer.size())
            pic = m_rowPics[std::size_t(answer[i])];
        else if (i < len)
            pic = m_dot;
        AnswerImages[std::size_t(i)]->setPicture(pic);
    }
}

void TBMPPresentDlg::showKey(int key, bool pressed)
{
    if (key < 1 || key > memo::EventCount)
        return;
    TImage* image = TastKeys[std::size_t(key - 1)];
    image->setPicture(pressed ? QPixmap() : m_keyPics[std::size_t(key - 1)]);
    if (pressed)
        image->repaint();
}

QString TBMPPresentDlg::askedFor() const
{
    return m_exercise->correctSeq();
}

void TBMPPresentDlg::startTask()
{
    m_exercise->startTask();
}

void TBMPPresentDlg::TastClick(int key)
{
    m_exercise->Click(key);
}

void TBMPPresentDlg::NewStartPanelClick()
{
    m_exercise->restart();
}

void TBMPPresentDlg::mediaMissing(const QString& path)
{
    const QFileInfo file(path);
    const SoundPlayer* player = ctx().player;
    QString text;
    if (file.exists() && file.suffix().compare(QLatin1String("wav"), Qt::CaseInsensitive) == 0 &&
        player && player->errorCode() != 0)
        text = QStringLiteral("Eine akustische Darstellung ist nicht möglich, weil \n\r") +
               player->errorText() + QStringLiteral("\n\rDie Ereignisse werden nur gezeigt.");
    else
        text = path +
               (file.exists() ? QStringLiteral(" kann nicht dargestellt werden.")
                              : QStringLiteral(" existiert nicht!")) +
               QStringLiteral("\n\rDie Übung geht ohne diese Datei weiter.");
    // The event keeps its time on the stage while the trainee reads this.
    m_exercise->Pause();
    m_presentation.pause();
    xMessageDlg(text, mkHinweis, btn::OK, 0);
    m_presentation.resume();
    m_exercise->resume();
}

void TBMPPresentDlg::done(int result)
{
    m_exercise->Stop();
    TSeqExerciseDlg::done(result);
}

void TBMPPresentDlg::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    const bool plain = !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    if (plain && key >= Qt::Key_0 && key <= Qt::Key_9) {
        event->accept();
        // A finger resting on a key must not enter the event again and again.
        if (!event->isAutoRepeat())
            m_exercise->Type(key == Qt::Key_0 ? 10 : key - Qt::Key_0);
        return;
    }
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        event->accept();
        if (!event->isAutoRepeat())
            StartPanelClick();
        return;
    }
    if (key == Qt::Key_Backspace) {
        event->accept();
        if (NewStartPanel->isVisible())
            NewStartPanelClick();
        return;
    }
    TSeqExerciseDlg::keyPressEvent(event);
}

} // namespace gf

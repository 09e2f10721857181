#include "shell/TMainWin.h"

#include "core/data/MessageSink.h"
#include "core/data/ProgramData.h"
#include "core/data/Random.h"
#include "core/data/Timing.h"
#include "exercises/results/TExportDlg.h"
#include "exercises/results/TFortschrittDlg.h"
#include "exercises/results/TSingleTipDlg.h"
#include "exercises/results/TTagDlg.h"
#include "exercises/search/TAbfragDlg.h"
#include "exercises/search/TBmpAbfragDlg.h"
#include "exercises/search/TBmpKatDlg.h"
#include "exercises/search/TErklaerDlgs.h"
#include "exercises/search/TGraphDlg.h"
#include "exercises/search/TLevelDlg.h"
#include "exercises/search/TLevelKatDlg.h"
#include "exercises/search/TWortDlg.h"
#include "exercises/sequence/TBMPPresentDlg.h"
#include "exercises/sequence/TBmpSndGraphDlg.h"
#include "exercises/sequence/TSndBmpInfDlg.h"
#include "exercises/sequence/TTelDlg.h"
#include "exercises/sequence/TTeleGraphDlg.h"
#include "exercises/sequence/TTeleInfoDlg.h"
#include "platform/MediaFiles.h"
#include "platform/PlatformDialogs.h"
#include "platform/Screen.h"
#include "platform/SoundPlayer.h"
#include "shell/Courses.h"
#include "shell/PendingWindows.h"
#include "shell/SessionFlow.h"
#include "shell/TAnmeldDlg.h"
#include "shell/TChooseModeDlg.h"
#include "shell/TCreditDlg.h"
#include "shell/TTuerDlg.h"
#include "shell/TtitleDlg.h"
#include "shell/TViewDlg.h"
#include "shell/WindowSet.h"
#include "toolkit/Accessibility.h"
#include "toolkit/AppContext.h"
#include "toolkit/Look.h"
#include "toolkit/THelpWin.h"
#include "toolkit/TPushButton.h"
#include "toolkit/TSkinButton.h"
#include "toolkit/TxMsgDlg.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QMenuBar>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QShortcut>
#include <QCoreApplication>
#include <QTimer>

namespace gf {

namespace {

using look::arial;

QLabel* makeLabel(QWidget* parent, const QString& text, const QFont& font, const QColor& colour,
                  const QRect& geometry, Qt::Alignment align = Qt::AlignLeft | Qt::AlignTop)
{
    auto* label = new QLabel(text, parent);
    label->setFont(font);
    look::setTextColour(label, colour);
    label->setAlignment(align);
    label->setAttribute(Qt::WA_TranslucentBackground);
    label->setGeometry(geometry);
    return label;
}

const QString kNoUserMessage = QStringLiteral("Es wurde noch kein Benutzer ausgewählt");

} // namespace

TClickArea::TClickArea(QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
}

void TClickArea::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && onClick)
        onClick();
}

void TClickArea::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    if ((key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) && onClick) {
        onClick();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TClickArea::paintEvent(QPaintEvent*)
{
    if (!hasFocus())
        return;
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(255, 215, 0), 6));
    // The area reaches below the painted door into the floor; the frame keeps to the door.
    QRectF door(rect());
    door.setHeight(door.height() * 0.9);
    p.drawRoundedRect(door.adjusted(3, 3, -3, -3), 8, 8);
}

void TClickImage::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && onClick)
        onClick();
}

TMainWin::TMainWin(AppContext& context) : m_ctx(context), m_windows(std::make_unique<WindowSet>()),
      m_courses(std::make_unique<Courses>(context, *m_windows))
{
    m_windows->MainWin = this;
    m_ctx.ExerciseStarted = false;
    setWindowTitle(QStringLiteral("Grips-Fix"));
    setWindowFlag(Qt::FramelessWindowHint);
    look::setBackground(this, look::background());
    // The canvas font that FontFactor is measured with. The windows were laid out where
    // "XXX" measured 27 px; Arial's free substitute at 13 px measures 26, and font
    // engines round sizes to whole pixels, so a third of a pixel of letter spacing
    // restores the design width and FontFactor stays near 1.
    // Kept apart from the widgets' fonts so the spacing does not spread to them.
    m_canvasFont = arial(13);
    m_canvasFont.setLetterSpacing(QFont::AbsoluteSpacing, 1.0 / 3.0);

    auto* client = new QWidget(this);
    client->setProperty("gfPanel", true);
    setCentralWidget(client);
    client->setGeometry(0, 0, DesignWidth, DesignHeight);

    BackImage = new TClickImage(client);
    BackImage->setGeometry(0, 0, 800, 560);
    BackImage->setScaledContents(true);
    BackImage->hide();
    BackImage->onClick = [this] {
        xMessageDlg(QStringLiteral("Bitte klicken Sie auf eine der Türen, \n\rum einen "
                                   "Arbeitsbereich auszuwählen!"),
                    mkAchtung, btn::OK, 4300);
    };

    LMDLabel1 = makeLabel(client, QStringLiteral("Arbeit"), arial(37, true, true), Qt::white,
                          QRect(49, 36, 200, 46));
    Label6 = makeLabel(client, QStringLiteral("Wählen Sie nun Ihren Arbeitsbereich."),
                       arial(21, true), Qt::white, QRect(227, 56, 520, 28));

    const int doorLeft[4] = {49, 227, 407, 586};
    const QString doorName[4] = {QStringLiteral("Wort-Fahndung"), QStringLiteral("Bild-Fahndung"),
                                 QStringLiteral("Telefonvermittler"),
                                 QStringLiteral("Memo-Protokoll")};
    TClickArea** doors[4] = {&Image1, &Image2, &Image3, &Image4};
    QLabel** names[4] = {&Label1, &Label2, &Label3, &Label4};
    const std::function<void()> clicks[4] = {[this] { Image1Click(); }, [this] { Image2Click(); },
                                             [this] { Image3Click(); }, [this] { Image4Click(); }};
    for (int i = 0; i < 4; ++i) {
        auto* door = new TClickArea(client);
        door->setGeometry(doorLeft[i], 140, 169, 295);
        door->setCursor(Qt::PointingHandCursor);
        door->setAttribute(Qt::WA_TranslucentBackground);
        door->onClick = clicks[i];
        access::makeButton(door, doorName[i], clicks[i]);
        *doors[i] = door;
        // The larger text of the low-vision look sits in the middle of the plate.
        *names[i] = look::lowVision()
                        ? makeLabel(client, doorName[i], arial(13), Qt::black,
                                    QRect(doorLeft[i] + 12, 139, 145, 21), Qt::AlignCenter)
                        : makeLabel(client, doorName[i], arial(13), Qt::black,
                                    QRect(doorLeft[i], 152, 169, 18), Qt::AlignHCenter | Qt::AlignTop);
        // Clicks on the name plate belong to the door.
        (*names[i])->setAttribute(Qt::WA_TransparentForMouseEvents);
    }

    UserLabel = makeLabel(client, TAnmeldDlg::userLabelText(QStringLiteral("-")), arial(13, true), Qt::white,
                          QRect(300, 470, 201, 73), Qt::AlignCenter);
    UserLabel->setWordWrap(true);

    BenutzerButton = new TSkinButton(QStringLiteral("Benutzer"), QSize(184, 45), client);
    BenutzerButton->move(32, 470);
    connect(BenutzerButton, &TSkinButton::clicked, this, &TMainWin::BenutzerButtonClick);
    ExitButton = new TSkinButton(QStringLiteral("Exit"), QSize(184, 45), client);
    ExitButton->move(584, 470);
    connect(ExitButton, &TSkinButton::clicked, this, &TMainWin::ExitButtonClick);

    StatusPanel = new QFrame(client);
    StatusPanel->setGeometry(0, 560, 800, 40);
    look::setBackground(StatusPanel, look::statusBar());

    TagResBtn = new TPushButton(QStringLiteral("&Tagesergebnisse "), StatusPanel);
    TagResBtn->setGeometry(50, 5, 200, 30);
    connect(TagResBtn, &QPushButton::clicked, this, &TMainWin::TagResPanelClick);
    ExportButton = new TPushButton(QStringLiteral("&Datenexport"), StatusPanel);
    ExportButton->setGeometry(550, 5, 200, 30);
    connect(ExportButton, &QPushButton::clicked, this, &TMainWin::ExportPnlClick);
    FortschrittBtn = new TPushButton(QStringLiteral("&Fortschritt"), StatusPanel);
    FortschrittBtn->setGeometry(300, 5, 200, 30);
    connect(FortschrittBtn, &QPushButton::clicked, this, &TMainWin::FortschrittBtnClick);
    ViewButton = new TPushButton(QStringLiteral("&Ansicht"), StatusPanel);
    ViewButton->setGeometry(0, 5, 130, 30);
    ViewButton->setToolTip(QStringLiteral("Starker Kontrast und große Schrift (Alt+A)"));
    ViewButton->setAccessibleDescription(ViewButton->toolTip());
    ViewButton->setVisible(look::lowVision());
    connect(ViewButton, &QPushButton::clicked, this, &TMainWin::ViewButtonClick);
    // The designed door screen has no room for the button; its key works there all the same.
    if (!look::lowVision()) {
        auto* viewKey = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_A), this);
        connect(viewKey, &QShortcut::activated, this, &TMainWin::ViewButtonClick);
    }

    buildMenu();

    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &TMainWin::onEscape);
    auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(f1, &QShortcut::activated, this,
            [this] { ShowHelpPage(m_ctx, QStringLiteral("MainWin")); });
    // The doors by number, left to right, for a trainee who works without a mouse.
    TClickArea* const doorAreas[4] = {Image1, Image2, Image3, Image4};
    for (int i = 0; i < 4; ++i) {
        auto* key = new QShortcut(QKeySequence(Qt::Key_1 + i), this);
        connect(key, &QShortcut::activated, this, [this, door = doorAreas[i]] {
            // Only where a click on the door would reach it.
            if (door->isVisible() && door->isEnabled())
                door->onClick();
        });
    }
    auto* f10 = new QShortcut(QKeySequence(Qt::Key_F10), this);
    connect(f10, &QShortcut::activated, this, [this] {
        showPlainMessage(m_ctx.data ? m_ctx.data->UserName : QStringLiteral("-"));
    });

    resize(DesignWidth, DesignHeight);
}

TMainWin::~TMainWin() = default;

void TMainWin::buildMenu()
{
    // Every top-level entry is hidden: the menu bar shows nothing, the entries are the
    // same operations the doors run.
    auto* bar = menuBar();
    auto addMenu = [bar](const QString& title) {
        QMenu* m = bar->addMenu(title);
        m->menuAction()->setVisible(false);
        return m;
    };
    QMenu* datei = addMenu(QStringLiteral("Datei"));
    connect(datei->addAction(QStringLiteral("Beenden")), &QAction::triggered, this,
            &TMainWin::requestClose);

    QMenu* indizien = addMenu(QStringLiteral("Indizien-Fahndung"));
    for (const char* level : {"Test", "Leicht", "Mittel", "Schwer"})
        indizien->addAction(QString::fromLatin1(level))->setVisible(false);
    connect(indizien->addAction(QStringLiteral("Spurensicherung")), &QAction::triggered, this,
            &TMainWin::SpurensicherungClick);
    connect(indizien->addAction(QStringLiteral("Festnahme")), &QAction::triggered, this,
            &TMainWin::FestnahmeClick);

    QMenu* telefon = addMenu(QStringLiteral("Telefon-Vermittlung"));
    connect(telefon->addAction(QStringLiteral("Hören")), &QAction::triggered, this,
            &TMainWin::HoerenClick);
    connect(telefon->addAction(QStringLiteral("Lesen")), &QAction::triggered, this,
            &TMainWin::LesenClick);
    connect(telefon->addAction(QStringLiteral("Hören und Lesen")), &QAction::triggered, this,
            &TMainWin::HoerenundLesenClick);

    QMenu* zeugen = addMenu(QStringLiteral("Zeugenbefragung"));
    connect(zeugen->addAction(QStringLiteral("Sehen")), &QAction::triggered, this,
            &TMainWin::Bilder1Click);
    connect(zeugen->addAction(QStringLiteral("Hören")), &QAction::triggered, this,
            &TMainWin::Klnge1Click);
    connect(zeugen->addAction(QStringLiteral("Sehen und Hören")), &QAction::triggered, this,
            &TMainWin::BilderundKlnge1Click);

    addMenu(QStringLiteral("Tagesergebnisse"))->addAction(QStringLiteral("Anzeigen"));
    QMenu* optionen = addMenu(QStringLiteral("Optionen"));
    optionen->addAction(QStringLiteral("Einstellungen"));
    connect(optionen->addAction(QStringLiteral("Grafik")), &QAction::triggered, this,
            &TMainWin::GrafikClick);
    bar->hide();
}

void TMainWin::createWindows()
{
    createWindowSet(*m_windows, m_ctx, this);
    ViewDlg = new TViewDlg(m_ctx, this);
    m_windows->AnmeldDlg->onUserLabel = [this](const QString& name) { setUserLabel(name); };
    m_session = std::make_unique<SessionFlow>(m_ctx, *m_windows);
    m_session->onTitle = [this](const QString& title) { setWindowTitle(title); };
    // Another computer takes a login mark over when it has not been touched for a
    // minute; every few seconds keeps it well inside that.
    auto* keepAlive = new QTimer(this);
    keepAlive->setInterval(std::chrono::seconds(5));
    connect(keepAlive, &QTimer::timeout, this, [this] { m_session->refreshLogin(); });
    keepAlive->start();
}

void TMainWin::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!m_startUpRan) {
        m_startUpRan = true;
        // Once the window is on screen, so the start-up's messages and the title stand over it.
        QTimer::singleShot(0, this, [this] { startUp(); });
    }
}

void TMainWin::requestClose()
{
    QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
}

bool TMainWin::startUp()
{
    setWindowTitle(QStringLiteral("Grips-Fix"));
    DesignWidth = 800;
    DesignHeight = 600;
    CloseWithoutQuestion = false;

    if (!ReadInstallPaths(m_ctx.paths, m_ctx.paths.ProgramDir, *m_ctx.messages)) {
        requestClose();
        return false;
    }
    if (!CheckMediaFiles(m_ctx.paths, *m_ctx.messages, &mediaFileExists)) {
        CloseWithoutQuestion = true;
        requestClose();
        return false;
    }

    if (m_ctx.player) {
        // Loaded once now, so no sound waits for its file during an exercise.
        QStringList sounds;
        for (const QString& name : inventorySounds())
            sounds << resolveMediaFile(m_ctx.paths.WavDir, name);
        m_ctx.player->preload(sounds);
        m_ctx.player->close();
        const QString jingle = resolveMediaFile(m_ctx.paths.WavDir, QStringLiteral("Jingle.wav"));
        if (!jingle.isEmpty()) {
            m_ctx.player->setFileName(jingle);
            if (m_ctx.player->open())
                m_ctx.player->play(false);
        }
    }

    m_ctx.ReadOnlySession = false;

    bool keepRunning = true;
    if (colorDepth() < 16) {
        const int answer = xMessageDlg(
            QStringLiteral("Hinweis: Die Systemeinstellungen für die Farbpalette sind geringer als "
                           "65536 Farben! Für eine optimale Darstellung der Bilder empfehlen wir, "
                           "die Anzeige auf mindestens 65536 Farben umzustellen!\n\rEventuelle "
                           "Verzerrungen der Farbdarstellungen können Folge  der derzeitigen "
                           "Einstellungen sein!\n\r\n\rMöchten Sie das Programm trotzdem "
                           "starten?"),
            mkBitteBestaetigen, btn::YesNoCancel, 0);
        if (answer != mrYes) {
            CloseWithoutQuestion = true;
            keepRunning = false;
            requestClose();
        }
    }
    if (m_ctx.ScreenWidth < 800 || m_ctx.ScreenHeight < 600) {
        const int answer = xMessageDlg(
            QStringLiteral("Hinweis: Die Systemeinstellungen für die Bildschirmgröße entsprechen "
                           "nicht der optimalen Größe für die Bilder in diesem Programm. Für eine "
                           "optimale Darstellung der Bilder empfehlen wir, die Anzeige auf die "
                           "Größe 800x600 anzupassen!\n\rEventuell verzerrte Darstellungen der "
                           "Bilder können Folge der derzeitigen Einstellungen sein!\n\r\n\r"
                           "Möchten Sie das Programm trotzdem starten?"),
            mkBitteBestaetigen, btn::YesNoCancel, 0);
        if (answer != mrYes) {
            CloseWithoutQuestion = true;
            keepRunning = false;
            requestClose();
        }
    }

    AdaptForms();
    placeUserControls();

    BackImage->hide();
    BackImage->setPixmap(
        QPixmap(resolveMediaFile(m_ctx.paths.BmpDir, QStringLiteral("Tueren2.bmp"))));
    if (m_windows->titleDlg)
        m_windows->titleDlg->exec();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    BackImage->show();
    rng().seedFromClock();
    if (m_ctx.data)
        m_ctx.data->SessionStart = m_ctx.data->clock().now();
    setWindowTitle(QStringLiteral("Grips-Fix"));
    QApplication::restoreOverrideCursor();
    m_startedUp = true;
    activateWindow(); // the keyboard belongs to the door screen, also without a window manager
    return keepRunning;
}

void TMainWin::AdaptForms()
{
    const int xxx = qRound(QFontMetricsF(m_canvasFont).horizontalAdvance(QStringLiteral("XXX")));
    const ScaleFactors f =
        computeScaleFactors(m_ctx.ScreenWidth, m_ctx.ScreenHeight, DesignWidth, DesignHeight, xxx);
    m_ctx.FontFactor = f.font;
    adaptWindow(centralWidget(), f, m_ctx.ScreenWidth, m_ctx.ScreenHeight);
    setGeometry(0, 0, m_ctx.ScreenWidth, m_ctx.ScreenHeight);
    for (QObject* child : children()) {
        auto* window = qobject_cast<QDialog*>(child);
        if (!window || window == m_windows->AnmeldDlg)
            continue;
        adaptWindow(window, f, m_ctx.ScreenWidth, m_ctx.ScreenHeight);
    }
}

void TMainWin::placeUserControls()
{
    const int m = m_ctx.ScreenWidth / 2;
    BenutzerButton->move(m - 2 * BenutzerButton->width(), UserLabel->y());
    ExitButton->move(m + ExitButton->width(), UserLabel->y());
    UserLabel->move(m - UserLabel->width() / 2, UserLabel->y());
    // Status bar: daily results, progress and export, evenly spaced; the low-vision look
    // adds its own button and narrows them all.
    QList<QPushButton*> bar{TagResBtn, FortschrittBtn, ExportButton};
    if (look::lowVision()) {
        bar << ViewButton;
        for (QPushButton* b : bar)
            b->resize((StatusPanel->width() - 50) / 4, b->height());
    }
    const int n = int(bar.size());
    const int gap = (StatusPanel->width() - n * TagResBtn->width()) / (n + 1);
    for (int i = 0; i < n; ++i)
        bar[i]->move(gap + i * (gap + TagResBtn->width()), bar[i]->y());
    look::fitTexts(centralWidget());
}

void TMainWin::setUserLabel(const QString& userName)
{
    UserLabel->setText(TAnmeldDlg::userLabelText(userName));
}

void TMainWin::paintEvent(QPaintEvent* event)
{
    QMainWindow::paintEvent(event);
    // Every repaint shows the door picture again (a door hides it while its course runs).
    if (m_startedUp && !BackImage->isVisible() && !m_hideBackUntilPaint)
        BackImage->show();
    m_hideBackUntilPaint = false;
}

void TMainWin::moveEvent(QMoveEvent* event)
{
    QMainWindow::moveEvent(event);
    if (pos() != QPoint(0, 0))
        move(0, 0);
}

bool TMainWin::requireUser()
{
    if (m_ctx.data && m_ctx.data->UserName != QLatin1String("-"))
        return true;
    xMessageDlg(kNoUserMessage, mkAchtung, btn::OK, 4300);
    return false;
}

void TMainWin::notYetAvailable()
{
    xMessageDlg(QStringLiteral("Dieser Bereich steht in dieser Version noch nicht zur "
                               "Verfügung."),
                mkHinweis, btn::OK, 0);
}

void TMainWin::Image1Click()
{
    if (!requireUser())
        return;
    BackImage->hide();
    SpurensicherungClick();
}

void TMainWin::Image2Click()
{
    if (!requireUser())
        return;
    BackImage->hide();
    FestnahmeClick();
}

void TMainWin::Image3Click()
{
    if (!requireUser())
        return;
    telephoneCourse();
}

void TMainWin::Image4Click()
{
    if (!requireUser())
        return;
    BackImage->hide();
    setSequenceModeTexts(*m_windows->ChooseModeDlg);
    memoCourse(2);
}

void TMainWin::SpurensicherungClick()
{
    m_courses->wordSearch();
}

void TMainWin::FestnahmeClick()
{
    m_courses->pictureSearch();
}

void TMainWin::HoerenClick()
{
    m_ctx.TelMode = 1;
    telephoneCourse();
}

void TMainWin::LesenClick()
{
    m_ctx.TelMode = 2;
    telephoneCourse();
}

void TMainWin::HoerenundLesenClick()
{
    m_ctx.TelMode = 3;
    telephoneCourse();
}

void TMainWin::Bilder1Click()
{
    memoCourse(2);
}

void TMainWin::Klnge1Click()
{
    memoCourse(1);
}

void TMainWin::BilderundKlnge1Click()
{
    memoCourse(3);
}

void TMainWin::GrafikClick()
{
    // The graph of the last search run, as it was shown after that run.
    m_windows->GraphDlg->exec();
}

void TMainWin::TagResPanelClick()
{
    if (!requireUser())
        return;
    if (m_ctx.player)
        m_ctx.player->close();
    m_windows->TagDlg->exec();
}

void TMainWin::ExportPnlClick()
{
    if (!requireUser())
        return;
    if (m_ctx.player)
        m_ctx.player->close();
    m_windows->ExportDlg->exec();
    QDir::setCurrent(m_ctx.paths.ProgramDir);
}

void TMainWin::FortschrittBtnClick()
{
    if (!requireUser())
        return;
    if (m_ctx.player)
        m_ctx.player->close();
    m_windows->FortschrittDlg->exec();
}

void TMainWin::ExitButtonClick()
{
    requestClose();
}

void TMainWin::ViewButtonClick()
{
    // Only from the door screen itself, not under a course or a dialog.
    if (QApplication::activeModalWidget() || !ViewDlg)
        return;
    ViewDlg->exec();
}

void TMainWin::onEscape()
{
    if (xMessageDlg(QStringLiteral("Möchten Sie das Programm wirklich beenden?"),
                    mkBitteBestaetigen, btn::YesNo, 0) == mrYes)
        close();
}

void TMainWin::telephoneCourse()
{
    if (!m_courses->Telephone())
        return;
    // The finished course hides the door picture until the next repaint.
    BackImage->hide();
    update();
}

void TMainWin::memoCourse(quint16 mode)
{
    m_windows->BMPPresentDlg->Mode = mode;
    m_windows->SndBmpInfDlg->Mode = mode;
    m_courses->Memo();
}

void TMainWin::BenutzerButtonClick()
{
    m_session->login();
}

void TMainWin::AfterLogin()
{
    m_session->afterLogin();
}

void TMainWin::storeNow()
{
    m_session->storeQuietly();
}

void TMainWin::endSession()
{
    m_session->storeQuietly();
    m_ctx.data->releaseLogin();
    CloseWithoutQuestion = true;
    close();
}

void TMainWin::closeEvent(QCloseEvent* event)
{
    if (!CloseWithoutQuestion) {
        m_session->saveOnExit();
        if (m_windows->CreditDlg)
            m_windows->CreditDlg->exec();
    }
    event->accept();
}

} // namespace gf

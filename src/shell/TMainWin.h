#pragma once

#include "shell/Startup.h"

#include <QLabel>
#include <QDate>
#include <QMainWindow>
#include <functional>
#include <memory>

class QFrame;
class QPushButton;

namespace gf {

struct AppContext;
struct WindowSet;
class Courses;
class SessionFlow;
class TSkinButton;
class TViewDlg;

// A door: a transparent area that opens on a left click, or from the keyboard with
// Enter or Space once the Tab key has brought it a visible frame.
class TClickArea final : public QWidget
{
public:
    explicit TClickArea(QWidget* parent);
    std::function<void()> onClick;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};

// A picture that reports a left click; the door picture behind the doors.
class TClickImage final : public QLabel
{
public:
    explicit TClickImage(QWidget* parent) : QLabel(parent) {}
    std::function<void()> onClick;

protected:
    void mousePressEvent(QMouseEvent* event) override;
};

// The work-area screen: four doors, the detective's name, login and exit, daily
// results, progress and export; it runs the exercise courses and saves the session.
class TMainWin final : public QMainWindow
{
    Q_OBJECT

public:
    explicit TMainWin(AppContext& context);
    ~TMainWin() override;

    // Creates every other window of the program, in the fixed order, hidden.
    void createWindows();
    WindowSet& Windows() { return *m_windows; }

    // The start-up proper; runs once, at the first showing. Returns false when the
    // program is closing again (missing files, declined display warnings).
    bool startUp();
    bool startedUp() const { return m_startedUp; }

    // Doors and menu entries.
    void Image1Click();
    void Image2Click();
    void Image3Click();
    void Image4Click();
    void SpurensicherungClick();
    void FestnahmeClick();
    void HoerenClick();
    void LesenClick();
    void HoerenundLesenClick();
    void Bilder1Click();
    void Klnge1Click();
    void BilderundKlnge1Click();
    void GrafikClick();

    void BenutzerButtonClick();
    void AfterLogin();
    void TagResPanelClick();
    void ExportPnlClick();
    void FortschrittBtnClick();
    void ExitButtonClick();
    void ViewButtonClick();

    // Fits every window but the login dialog to the screen; sets FontFactor.
    void AdaptForms();
    // Places login, exit and the name label from the screen's middle.
    void placeUserControls();
    void setUserLabel(const QString& userName);

    // The end of a desktop session or a SIGTERM: stores what can be stored without
    // asking anybody and closes without the closing screen (the caller then ends the
    // event loops).
    void endSession();
    // Stores what is not stored yet, without questions (the desktop asks before it ends).
    void storeNow();

    bool CloseWithoutQuestion = false;
    quint16 DesignWidth = 800;
    quint16 DesignHeight = 600;

    TClickImage* BackImage = nullptr;
    QLabel* LMDLabel1 = nullptr;
    QLabel* Label6 = nullptr;
    TClickArea* Image1 = nullptr;
    TClickArea* Image2 = nullptr;
    TClickArea* Image3 = nullptr;
    TClickArea* Image4 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* UserLabel = nullptr;
    TSkinButton* BenutzerButton = nullptr;
    TSkinButton* ExitButton = nullptr;
    QFrame* StatusPanel = nullptr;
    QPushButton* TagResBtn = nullptr;
    QPushButton* ExportButton = nullptr;
    QPushButton* FortschrittBtn = nullptr;
    // Shown in the low-vision look only; Alt+A opens the choice of look in either.
    QPushButton* ViewButton = nullptr;
    TViewDlg* ViewDlg = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    bool requireUser();
    void notYetAvailable();
    void requestClose();
    void telephoneCourse();
    void memoCourse(quint16 mode);
    void buildMenu();
    void onEscape();

    AppContext& m_ctx;
    QFont m_canvasFont;
    std::unique_ptr<WindowSet> m_windows;
    std::unique_ptr<Courses> m_courses;
    std::unique_ptr<SessionFlow> m_session;
    bool m_startedUp = false;
    bool m_startUpRan = false;
    bool m_hideBackUntilPaint = false;
};

} // namespace gf

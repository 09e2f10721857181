#pragma once

// A whole program for GUI tests: the data model in a temporary data folder, a silent
// player, the main window with every window created, timers at a hundredth.

#include "core/data/MessageSink.h"
#include "core/data/ProgramData.h"
#include "core/data/Timing.h"
#include "exercises/results/TResultGraphDlg.h"
#include "exercises/results/TSingleTipDlg.h"
#include "exercises/search/TErklaerDlgs.h"
#include "exercises/search/TLevelDlg.h"
#include "exercises/sequence/TSeqInfoDlg.h"
#include "platform/Printing.h"
#include "support/DataSupport.h"
#include "platform/SoundPlayer.h"
#include "shell/TChooseModeDlg.h"
#include "shell/TMainWin.h"
#include "support/GuiFixture.h"
#include "support/Modal.h"
#include "support/Recording.h"
#include "toolkit/AppContext.h"
#include "toolkit/Look.h"
#include "toolkit/TPushButton.h"
#include "toolkit/TRadioGroup.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace gf::test {

struct TestProgram
{
    TestProgram()
    {
        timing::setScale(0.01);
        // GF_TEST_LOOK=150: the same courses in the low-vision look at that text size.
        if (const int size = qEnvironmentVariableIntValue("GF_TEST_LOOK"))
            look::setAppearance({true, size});
        // The built installation's pictures, sounds and help pages, when there is one.
        const QString install = QDir(qEnvironmentVariable("GF_INSTALL_DIR")).absolutePath();
        ctx.paths.ProgramDir = dir.path() + "/";
        ctx.paths.InstallDir = ctx.paths.ProgramDir;
        ctx.paths.BmpDir = install + "/BMP/";
        ctx.paths.WavDir = install + "/WAV/";
        ctx.paths.HlpDir = install + "/HLP/";
        ctx.testRun = true;
        ctx.messages = &sink;
        ctx.data = &data;
        ctx.player = player.get();
        QDir(dir.path()).mkdir("Daten");
        data.setDataDir(dir.path() + "/Daten");
        data.SessionStart = QDateTime::currentDateTime();
        win = new TMainWin(ctx);
        win->createWindows();
    }
    ~TestProgram()
    {
        win->CloseWithoutQuestion = true;
        delete win;
    }
    TestProgram(const TestProgram&) = delete;
    TestProgram& operator=(const TestProgram&) = delete;

    // Registers and opens a detective, as the login dialog does on OK.
    void openDetective(const QString& name)
    {
        QVERIFY(data.registerUser(name, 1));
        data.UserName = name;
        QVERIFY(data.openUser());
    }
    // The same followed by the main window's after-login step.
    void login(const QString& name)
    {
        openDetective(name);
        win->AfterLogin();
    }

    QStringList dataFiles() const
    {
        return QDir(dir.path() + "/Daten").entryList(QDir::Files, QDir::Name);
    }

    void setScreen(QSize size)
    {
        ctx.ScreenWidth = size.width();
        ctx.ScreenHeight = size.height();
        win->AdaptForms();
    }

    // A file the test writes for a person to look at: kept with the screenshots.
    QString keptFile(const QString& name) const
    {
        const QString shots = qEnvironmentVariable("GF_SHOT_DIR");
        return QDir(shots.isEmpty() ? dir.path() : shots).filePath(name);
    }

    // Closes the program as the trainee does, which files the session, and reads back
    // the one record of the detective's month log `tag`.
    // Closes the program, which files the session; then what a fresh program finds stored.
    WalkedRecords closeAndReadStored()
    {
        win->CloseWithoutQuestion = false;
        win->close();
        const auto user = storedUser();
        return user ? storedRecords(*user) : WalkedRecords{};
    }

    // The detective as a fresh program reads the user file.
    std::shared_ptr<tUser> storedUser() const
    {
        tProgramData fresh;
        fresh.setDataDir(data.DataDir);
        fresh.UserName = data.UserName;
        return fresh.openUser() ? fresh.CurrentUser : nullptr;
    }

    QTemporaryDir dir;
    RecordingSink sink;
    tProgramData data{&sink};
    std::unique_ptr<SoundPlayer> player = createSoundPlayer(true);
    AppContext ctx;
    TMainWin* win = nullptr;
};

// A trainee through a course from its door: chooses the mode and the test-run count of 2,
// reads on past the introductions, prints the graph (when `pdf` is set), looks at its tip
// and closes it; all by keys when `keyboard` is set. A test adds the exercise and what it
// wants to note.
class CourseTrainee : public ModalPlayer
{
public:
    int mode = 2; // position in the mode choice
    bool keyboard = false;
    QList<bool> answers; // per task from 0: right or wrong, right when missing
    QString pdf;
    QString shotTag; // ends the names of the screenshots
    ExerciseKind tipKind = ExerciseKind::Wort; // of the tip looked at

    CourseTrainee()
    {
        on<TChooseModeDlg>([this](TChooseModeDlg& d) {
            if (keyboard)
                for (int i = 0; i < mode; ++i)
                    key(&d, Qt::Key_Down);
            else
                QTest::mouseClick(d.Box->item(mode - 1), Qt::LeftButton);
            next(d, d.OKBtn);
        });
        on<TCountDlg>([this](TCountDlg& d) {
            if (keyboard)
                key(&d, Qt::Key_4);
            else
                QTest::mouseClick(d.Group->item(3), Qt::LeftButton);
            next(d, d.OKBtn);
        });
        on<TSeqInfoDlg>([this](TSeqInfoDlg& d) { next(d, d.OKBtn); });
        on<TSearchIntroDlg>([this](TSearchIntroDlg& d) { next(d, d.OKBtn); });
        on<TSingleTipDlg>([this](TSingleTipDlg& d) {
            tipKind = d.TipKind;
            next(d, d.OKBtn);
        });
        on<TResultGraphDlg>([this](TResultGraphDlg& g) {
            if (!pdf.isEmpty()) {
                setPrintTargetForTests(pdf);
                keyboard ? key(&g, Qt::Key_D, Qt::AltModifier) : g.PrintBtn->click();
                setPrintTargetForTests(QString());
            }
            keyboard ? key(&g, Qt::Key_T, Qt::AltModifier) : g.CommentBtn->click();
            next(g, g.OKBtn);
        });
    }

    bool right(qsizetype task) const { return answers.value(task, true); }

    void next(QWidget& w, QAbstractButton* ok)
    {
        if (keyboard)
            key(&w, Qt::Key_Return);
        else
            ok->click();
    }

    // Every window and state once, with GF_SHOT_DIR set.
    void shot(QWidget* w, const QString& state = {})
    {
        const QString name =
            QString::fromLatin1(w->metaObject()->className()).section("::", -1) + state + shotTag;
        if (!m_shot.contains(name)) {
            m_shot << name;
            test::shot(w, name);
        }
    }

protected:
    void looked(QWidget* w) override { shot(w); }

private:
    QStringList m_shot;
};

} // namespace gf::test

#pragma once

// A whole program for GUI tests: the data model in a temporary data folder, a silent
// player, the main window with every window created, timers at a hundredth.

#include "support/Recording.h"
#include "data/MessageSink.h"
#include "data/ProgramData.h"
#include "data/Timing.h"
#include "platform/SoundPlayer.h"
#include "widgets/AppContext.h"
#include "shell/TMainWin.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

namespace gf::test {

struct TestProgram
{
    TestProgram()
    {
        timing::setScale(0.01);
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
        win->CreateWindows();
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
        QVERIFY(data.RegisterUser(name, 1));
        data.UserName = name;
        QVERIFY(data.OpenUser());
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

    QTemporaryDir dir;
    RecordingSink sink;
    tProgramData data{&sink};
    std::unique_ptr<SoundPlayer> player = createSoundPlayer(true);
    AppContext ctx;
    TMainWin* win = nullptr;
};

} // namespace gf::test

#include "core/data/ProgramData.h"
#include "core/data/Timing.h"
#include "platform/DataFolder.h"
#include "platform/Fonts.h"
#include "platform/InstallPaths.h"
#include "platform/Screen.h"
#include "platform/SingleInstance.h"
#include "platform/SoundPlayer.h"
#include "platform/Termination.h"
#include "platform/ViewSettings.h"
#include "shell/TMainWin.h"
#include "toolkit/AppContext.h"
#include "toolkit/Look.h"
#include "toolkit/TxMsgDlg.h"

#include <QApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

using namespace gf;

namespace {
// The test-run mode shortens every timed step, to a tenth unless GRIPSFIX_TL_SCALE
// names another factor (1 = real time).
double testRunTimeScale()
{
    bool ok = false;
    const double factor = qEnvironmentVariable("GRIPSFIX_TL_SCALE").toDouble(&ok);
    return ok && factor > 0.0 && factor <= 1.0 ? factor : 0.1;
}
} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Tannwald"));
    QCoreApplication::setApplicationName(QStringLiteral("GripsFix"));
    // Lets the desktop match the running window to its menu entry.
    QGuiApplication::setDesktopFileName(QStringLiteral("de.tannwald.GripsFix"));

    // The platform's own dialogs (print, save, input box) speak German like the rest.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    QTranslator qtGerman;
    if (qtGerman.load(QLocale(QLocale::German), QStringLiteral("qtbase"), QStringLiteral("_"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&qtGerman);

    AppContext context;
    context.testRun = argc > 1 && QString::fromLocal8Bit(argv[1]) == QLatin1String("tl");
    if (context.testRun)
        timing::setScale(testRunTimeScale());
    registerFontSubstitutes();

    SingleInstance instance;
    if (instance.tryActivateRunning())
        return 0;
    instance.listen();

    context.paths.ProgramDir = programDirValue(QCoreApplication::applicationDirPath());
    QDir::setCurrent(context.paths.ProgramDir);

    BoxMessageSink messages;
    context.messages = &messages;
    tProgramData data(&messages);
    context.data = &data;
    data.setDataDir(defaultDataDir(context.paths.ProgramDir));
    createFolderChain(data.DataDir);

    auto player = createSoundPlayer(context.testRun);
    context.player = player.get();

    const QSize screen = primaryScreenSize();
    context.ScreenWidth = screen.width();
    context.ScreenHeight = screen.height();

    const ViewSettings view = readViewSettings();
    look::setAppearance({view.lowVision, view.textPercent});

    TMainWin mainWin(context);
    mainWin.createWindows();
    QObject::connect(&instance, &SingleInstance::activationRequested, &mainWin,
                     [&mainWin] { SingleInstance::bringToFront(&mainWin); });
    onTermination(&mainWin, [&mainWin] {
        mainWin.endSession();
        // Open exercise windows run their own event loops; this ends them all.
        QCoreApplication::exit(0);
    });
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &mainWin,
                     [&mainWin] { mainWin.storeNow(); });
    mainWin.show();
    const int rc = app.exec();
    return rc;
}

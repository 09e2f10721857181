// Renders every window of the program at 800x600 and 1024x768 after the start-up's
// stretching, and checks that nothing is pushed off its window. With GF_SHOT_DIR set
// the pictures are kept there (the screenshot command of the project). On a real X
// server (tests/shell/run-on-x.sh, with and without a window manager) it takes that
// screen's size and checks where each window and its status bar really landed.
#include "core/data/ProgramData.h"
#include "core/data/Timing.h"
#include "exercises/search/TBmpKatDlg.h"
#include "exercises/search/TErklaerDlgs.h"
#include "exercises/search/TLevelDlg.h"
#include "exercises/search/TWortDlg.h"
#include "exercises/sequence/TBmpSndGraphDlg.h"
#include "exercises/sequence/TTeleGraphDlg.h"
#include "platform/InstallPaths.h"
#include "platform/SoundPlayer.h"
#include "shell/PendingWindows.h"
#include "shell/TChooseModeDlg.h"
#include "shell/TMainWin.h"
#include "shell/TPictureScreen.h"
#include "shell/TTuerDlg.h"
#include "shell/WindowSet.h"
#include "support/DataSupport.h"
#include "toolkit/AppContext.h"
#include "toolkit/TStatusBar.h"
#include "toolkit/TxMsgDlg.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDialog>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace gf;

namespace gf::test {

namespace {

bool hasSeveralColours(const QImage& image)
{
    const QRgb first = image.pixel(0, 0);
    for (int y = 0; y < image.height(); y += 7)
        for (int x = 0; x < image.width(); x += 7)
            if (image.pixel(x, y) != first)
                return true;
    return false;
}

bool onRealScreen()
{
    return QGuiApplication::platformName() == QLatin1String("xcb");
}

QString shotDir()
{
    return qEnvironmentVariable("GF_SHOT_DIR");
}

// The default look's pictures as main drew them before the low-vision look existed, by
// window and size; GF_LOOK_HASHES names a file to write them to instead.
QMap<QString, QByteArray> defaultLook()
{
    QMap<QString, QByteArray> hashes;
    QFile f(qEnvironmentVariable("GF_SOURCE_DIR") + "/tests/shell/defaultlook.txt");
    if (f.open(QIODevice::ReadOnly))
        for (const QByteArray& line : f.readAll().split('\n'))
            if (const auto parts = line.split(' '); parts.size() == 2)
                hashes.insert(QString::fromLatin1(parts[0]), parts[1]);
    return hashes;
}

QByteArray pictureHash(const QImage& image)
{
    const QImage i = image.convertToFormat(QImage::Format_RGB32);
    return QCryptographicHash::hash(QByteArrayView(i.constBits(), i.sizeInBytes()),
                                    QCryptographicHash::Sha1).toHex();
}

QString text(const QRect& r)
{
    return QString("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

} // namespace

class TstScreens final : public QObject
{
    Q_OBJECT

    // Where the window manager put the window: frame and status bar on the free part
    // of the screen, a full-screen window reaching its edges.
    static void checkOnScreen(QWidget* w, const QString& name)
    {
        const QRect free = w->screen()->availableGeometry();
        QVERIFY2(free.contains(w->frameGeometry()),
                 qPrintable(name + ": frame " + text(w->frameGeometry()) + " leaves the screen"));
        for (TStatusBar* bar : w->findChildren<TStatusBar*>()) {
            if (!bar->isVisible())
                continue;
            QCOMPARE(bar->mapToGlobal(QPoint(bar->width(), bar->height())),
                     free.bottomRight() + QPoint(1, 1));
            for (QWidget* b : bar->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
                if (b->isVisible())
                    QVERIFY2(free.contains(QRect(b->mapToGlobal(QPoint(0, 0)), b->size())),
                             qPrintable(name + ": a status-bar button is off the screen"));
        }
    }

private slots:
    void everyWindowFitsTheScreen_data()
    {
        QTest::addColumn<QSize>("screen");
        if (onRealScreen()) {
            const QSize real = QGuiApplication::primaryScreen()->size();
            QTest::newRow("real") << real;
            return;
        }
        QTest::newRow("800x600") << QSize(800, 600);
        QTest::newRow("1024x768") << QSize(1024, 768);
    }

    void everyWindowFitsTheScreen()
    {
        QFETCH(QSize, screen);
        timing::setScale(0.01);
        QTemporaryDir data;
        const QString install = QDir(qEnvironmentVariable("GF_INSTALL_DIR")).absolutePath() + "/";
        BoxMessageSink sink;
        AppContext ctx;
        ctx.messages = &sink;
        ctx.testRun = true;
        ctx.paths.ProgramDir = install;
        ctx.ScreenWidth = screen.width();
        ctx.ScreenHeight = screen.height();
        tProgramData model(&sink);
        model.setDataDir(data.path());
        model.SessionStart = QDateTime::currentDateTime();
        ctx.data = &model;
        auto player = createSoundPlayer(true);
        ctx.player = player.get();
        ScopedMessageHook hook; // a window that complains must not block the run

        {
            TMainWin win(ctx);
            win.createWindows();
            // What the courses hand the windows before showing them.
            WindowSet& ws = win.Windows();
            ws.ChooseModeDlg->ModeText[1] = "Hören";
            ws.ChooseModeDlg->ModeText[2] = "Sehen";
            ws.ChooseModeDlg->ModeText[3] = "Hören und Sehen";
            const QList<std::pair<int, int>> tasksRight{{3, 3}, {3, 2}, {3, 1}};
            const auto stat = test::seqStat<tTeleStat>(2, 5, 4, tasksRight, 9);
            ws.TeleGraphDlg->Stat = &stat;
            const auto memo = test::seqStat<tBmpSndStat>(3, 0, 2, tasksRight, 10);
            ws.BmpSndGraphDlg->Stat = &memo;
            QVERIFY(ws.WortDlg->LoadItemTables("std.cfg"));
            QVERIFY(ws.BmpKatDlg->LoadItemTables("bmp.cfg"));
            ws.XErklaer3Dlg->Table = ws.WortDlg->Tables.Current;
            ws.BmpErklaer3Dlg->Table = ws.BmpKatDlg->Tables.Current;
            ws.XErklaer2Dlg->setTableLines(ws.WortDlg->Tables.Current->Lines);
            ws.BmpErkl2Dlg->setTableLines(ws.BmpKatDlg->Tables.Current->Lines);
            // The real start-up: install folders, media check, title screen, stretching.
            win.show();
            QTRY_VERIFY_WITH_TIMEOUT(win.startedUp(), 10000);
            if (onRealScreen()) {
                win.activateWindow();
                QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget*>(&win));
            }
            QCOMPARE(win.size(), screen);

            QList<QWidget*> windows{&win};
            for (QObject* child : win.children())
                // The door screen's operations have no screen of their own.
                if (auto* dialog = qobject_cast<QDialog*>(child);
                    dialog && !dynamic_cast<TPendingDlg*>(dialog) &&
                    dialog != win.Windows().TuerDlg)
                    windows << dialog;
            QVERIFY(windows.size() > 10);
            const QMap<QString, QByteArray> golden = defaultLook();
            QFile record(qEnvironmentVariable("GF_LOOK_HASHES"));
            if (!record.fileName().isEmpty())
                QVERIFY(record.open(QIODevice::Append));
            int compared = 0;

            for (QWidget* w : windows) {
                const QString name =
                    QString::fromLatin1(w->metaObject()->className()).section("::", -1);
                w->show();
                if (auto* picture = qobject_cast<TPictureScreen*>(w))
                    picture->Timer->stop(); // stays up to be looked at
                QCoreApplication::processEvents();
                if (onRealScreen()) {
                    QVERIFY(QTest::qWaitForWindowExposed(w));
                    QTest::qWait(300); // the window manager places and frames it
                    checkOnScreen(w, name);
                }
                const QImage image =
                    onRealScreen() ? w->screen()->grabWindow(0).toImage() : w->grab().toImage();
                if (!shotDir().isEmpty()) {
                    QDir().mkpath(shotDir());
                    image.save(QString("%1/%2_%3x%4.png")
                                   .arg(shotDir(), name)
                                   .arg(screen.width())
                                   .arg(screen.height()));
                }
                QVERIFY2(hasSeveralColours(image), qPrintable(name + " is blank"));
                // The default look stays as it was, to the pixel.
                const QString key = QString("%1_%2x%3").arg(name).arg(screen.width()).arg(screen.height());
                if (record.isOpen())
                    record.write(key.toLatin1() + ' ' + pictureHash(image) + '\n');
                else if (!onRealScreen() && golden.contains(key) && ++compared)
                    QVERIFY2(pictureHash(image) == golden[key], qPrintable(key + " looks different"));
                // Every visible control lies inside its window.
                const QRect inside(QPoint(0, 0), w->size());
                for (QWidget* c : w->findChildren<QWidget*>()) {
                    if (c->window() != w || !c->isVisible() || c->width() <= 0)
                        continue;
                    const QRect r(c->mapTo(w, QPoint(0, 0)), c->size());
                    QVERIFY2(inside.contains(r),
                             qPrintable(QString("%1: %2 %3 at %4 outside %5")
                                            .arg(name, c->metaObject()->className(),
                                                 c->objectName(), text(r), text(inside))));
                }
                // The buttons of a status bar lie apart from each other.
                for (TStatusBar* bar : w->findChildren<TStatusBar*>()) {
                    const auto buttons =
                        bar->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
                    for (QWidget* a : buttons)
                        for (QWidget* b : buttons)
                            QVERIFY2(a == b || !a->isVisible() || !b->isVisible() ||
                                         !a->geometry().intersects(b->geometry()),
                                     qPrintable(name + ": status-bar buttons overlap"));
                }
                if (w == &win)
                    continue; // stays below the others
                w->hide();
            }
            QVERIFY(record.isOpen() || onRealScreen() || compared > 20);
            // After a modal dialog the door screen has the keyboard again (Escape, F1, F10).
            if (onRealScreen()) {
                auto* level = win.Windows().LevelDlg;
                QTimer::singleShot(500, level, [level] { level->reject(); });
                level->exec();
                QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget*>(&win));
            }
        }
    }
};

} // namespace gf::test

QTEST_MAIN(gf::test::TstScreens)
#include "tst_screens.moc"

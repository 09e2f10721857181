// Renders every window of the program at 800x600 and 1024x768 after the start-up's
// stretching, and checks that nothing is pushed off its window. With GF_SHOT_DIR set
// the pictures are kept there (the screenshot command of the project). On a real X
// server (tests/shell/run-on-x.sh, with and without a window manager) it takes that
// screen's size and checks where each window and its status bar really landed.
#include "core/data/ProgramData.h"
#include "core/data/Timing.h"
#include "exercises/results/TExportDlg.h"
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
#include "render/PanelCanvas.h"
#include "support/DataSupport.h"
#include "support/GuiFixture.h"
#include "toolkit/AppContext.h"
#include "toolkit/Look.h"
#include "toolkit/TRadioGroup.h"
#include "toolkit/TStatusBar.h"
#include "toolkit/TxMsgDlg.h"

#include <QAbstractItemView>
#include <QAbstractScrollArea>
#include <QApplication>
#include <QLabel>
#include <QScopeGuard>
#include <QTextEdit>
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

// The default look's pictures, all windows at one size in one hash, as main drew them
// before the low-vision look existed; GF_LOOK_HASHES names a file to write them to instead.
// The login dialog shows a temporary folder, the second and third introductions draw
// their pictures at random.
QByteArray defaultLook(QSize screen)
{
    QFile f(qEnvironmentVariable("GF_SOURCE_DIR") + "/tests/shell/defaultlook.txt");
    const QByteArray size = QByteArray::number(screen.width()) + 'x' + QByteArray::number(screen.height());
    for (const QByteArray& line : f.open(QIODevice::ReadOnly) ? f.readAll().split('\n') : QByteArrayList())
        if (line.startsWith(size + ' '))
            return line.mid(size.size() + 1);
    return "none";
}
bool varies(const QString& name)
{
    return name.contains("Anmeld") || name.contains("Erkl2") || name.contains("Erklaer2") ||
           name.contains("Erklaer3");
}

// A text on screen: where it was drawn, in which colour and font, the control it must keep
// within and the part of the window its painter could reach.
struct Text
{
    QRect rect;
    QColor colour;
    QFont font;
    QRect bounds;
    QRect shown;
};

// The colour most of the pixels around r within its control have (of r itself, where r
// fills the control): what a text there stands on.
QColor ground(const QImage& image, const QRect& r, const QRect& control)
{
    QHash<QRgb, int> count;
    const QRect area = r.adjusted(-2, -2, 2, 2).intersected(control).intersected(image.rect());
    for (bool ring : {true, false})
        for (int y = area.top(); y <= area.bottom() && (ring || count.isEmpty()); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                if (!ring || !r.contains(x, y))
                    ++count[image.pixel(x, y) | 0xff000000];
    QRgb best = 0;
    for (auto it = count.cbegin(); it != count.cend(); ++it)
        if (it.value() > count.value(best))
            best = it.key();
    return QColor(best);
}

// Inside a page that scrolls, so it may reach past its window.
bool scrolled(const QWidget* c)
{
    for (const QWidget* p = c->parentWidget(); p && !p->isWindow(); p = p->parentWidget())
        if (p->objectName() == QLatin1String("qt_scrollarea_viewport"))
            return true;
    return false;
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

    // The low-vision look: every text reaches its contrast (large text 3:1, other text
    // 4.5:1) and stays within its control.
    static void checkTexts(QWidget* w, const QImage& image, QList<Text> texts)
    {
        for (QWidget* c : w->findChildren<QWidget*>()) {
            if (!c->isVisible() || c->window() != w)
                continue;
            const QRect at(c->mapTo(w, QPoint(0, 0)), c->size());
            const QPalette pal = c->palette();
            if (auto* l = qobject_cast<QLabel*>(c); l && !l->text().isEmpty() &&
                                                   l->textFormat() != Qt::RichText) {
                const QRect area = l->contentsRect();
                const int wrap = l->wordWrap() ? Qt::TextWordWrap : 0;
                const QRect need = l->fontMetrics().boundingRect(area, int(l->alignment()) | wrap,
                                                                 l->text());
                const QRect in = area.translated(at.topLeft()).adjusted(-1, -1, 1, 1);
                texts.append({need.translated(at.topLeft()), pal.color(l->foregroundRole()),
                              l->font(), in, in});
            } else if (qobject_cast<QTextEdit*>(c) || qobject_cast<QAbstractItemView*>(c)) {
                QVERIFY2(look::contrast(pal.color(QPalette::Text), pal.color(QPalette::Base)) >= 4.5,
                         qPrintable(QString(c->metaObject()->className())));
                if (qobject_cast<QAbstractItemView*>(c))
                    for (auto g : {QPalette::Active, QPalette::Inactive})
                        QVERIFY(look::contrast(pal.color(g, QPalette::HighlightedText),
                                               pal.color(g, QPalette::Highlight)) >= 4.5);
            }
        }
        QList<QRect> pages; // what scrolls: a text there may be hidden in part
        for (QAbstractScrollArea* a : w->findChildren<QAbstractScrollArea*>())
            if (a->isVisible())
                pages << QRect(a->viewport()->mapTo(w, QPoint(0, 0)), a->viewport()->size());
        for (const Text& t : texts) {
            const QString what = QString("%1: text at %2").arg(w->metaObject()->className(), text(t.rect));
            const bool onPage = std::any_of(pages.begin(), pages.end(),
                                            [&](const QRect& p) { return p.intersects(t.bounds); });
            if (onPage && !t.shown.contains(t.rect))
                continue;
            QVERIFY2(t.bounds.intersected(t.shown).contains(t.rect),
                     qPrintable(what + " outside " + text(t.bounds.intersected(t.shown))));
            const int px = QFontInfo(t.font).pixelSize();
            const double needed = px >= 24 || (t.font.bold() && px >= 19) ? 3.0 : 4.5;
            const QColor under = ground(image, t.rect, t.bounds.adjusted(1, 1, -1, -1));
            const double ratio = look::contrast(t.colour, under);
            QVERIFY2(ratio >= needed, qPrintable(what + QString(" contrast %1 of %2 on %3")
                                                            .arg(ratio)
                                                            .arg(t.colour.name(), under.name())));
        }
    }

private slots:
    void everyWindowFitsTheScreen_data()
    {
        QTest::addColumn<QSize>("screen");
        QTest::addColumn<int>("lowVision"); // text size in percent, 0 for the default look
        if (onRealScreen()) {
            const QSize real = QGuiApplication::primaryScreen()->size();
            QTest::newRow("real") << real << 0;
            return;
        }
        for (QSize size : {QSize(800, 600), QSize(1024, 768)})
            for (int lv : {0, 125, 150})
                QTest::addRow("%dx%d %d", size.width(), size.height(), lv) << size << lv;
    }

    void everyWindowFitsTheScreen()
    {
        QFETCH(QSize, screen);
        QFETCH(int, lowVision);
        look::setAppearance({lowVision > 0, lowVision});
        const auto designed = qScopeGuard([] { look::setAppearance({}); });
        QList<Text> painted;
        textWatch = [&painted](const QRect& r, const QColor& c, const QFont& f, const QRect& in,
                               const QRect& shown) {
            painted.append({r, c, f, in.adjusted(-1, -1, 1, 1), shown.adjusted(-1, -1, 1, 1)});
        };
        const auto unwatched = qScopeGuard([] { textWatch = nullptr; });
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
            TxMsgDlg box(&win);
            box.prepare("Möchten Sie wirklich abbrechen?", mkBitteBestaetigen, btn::YesNo, screen);
            windows << &box;
            QCryptographicHash pictures(QCryptographicHash::Sha1);

            for (QWidget* w : windows) {
                const QString name =
                    QString::fromLatin1(w->metaObject()->className()).section("::", -1) +
                    (w == &box ? "_Frage" : "");
                w->show();
                if (auto* picture = qobject_cast<TPictureScreen*>(w))
                    picture->Timer->stop(); // stays up to be looked at
                QCoreApplication::processEvents();
                if (onRealScreen()) {
                    QVERIFY(QTest::qWaitForWindowExposed(w));
                    QTest::qWait(300); // the window manager places and frames it
                    checkOnScreen(w, name);
                }
                painted.clear(); // what the window draws from here on
                const QImage image =
                    onRealScreen() ? w->screen()->grabWindow(0).toImage() : w->grab().toImage();
                if (!shotDir().isEmpty()) {
                    QDir().mkpath(shotDir());
                    image.save(QString("%1/%2_%3x%4%5.png")
                                   .arg(shotDir(), name)
                                   .arg(screen.width())
                                   .arg(screen.height())
                                   .arg(lowVision ? QString("_lv%1").arg(lowVision) : QString()));
                }
                QVERIFY2(hasSeveralColours(image), qPrintable(name + " is blank"));
                if (lowVision)
                    checkTexts(w, image, painted);
                else if (!varies(name)) {
                    const QImage i = image.convertToFormat(QImage::Format_RGB32);
                    pictures.addData(QByteArrayView(i.constBits(), i.sizeInBytes()));
                }
                // Every visible control lies inside its window.
                const QRect inside(QPoint(0, 0), w->size());
                for (QWidget* c : w->findChildren<QWidget*>()) {
                    if (c->window() != w || !c->isVisible() || c->width() <= 0 || scrolled(c))
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
                // What is typed into an edit field of the default look stands out from it.
                if (auto* e = qobject_cast<TExportDlg*>(w))
                    e->Group->item(3)->click(); // both dates
                for (QLineEdit* edit : w->findChildren<QLineEdit*>())
                    if (!lowVision && edit->isVisible() && edit->isEnabled()) {
                        QVERIFY2(typedTextContrast(edit) >= 4.5, qPrintable(name));
                        edit->clear();
                    }
                if (w == &win)
                    continue; // stays below the others
                w->hide();
            }
            // The default look stays as it was, to the pixel.
            if (QFile record(qEnvironmentVariable("GF_LOOK_HASHES")); !lowVision && record.open(QIODevice::Append))
                record.write(QString("%1x%2 ").arg(screen.width()).arg(screen.height()).toLatin1() +
                             pictures.result().toHex() + '\n');
            else if (!lowVision && !onRealScreen())
                QVERIFY2(pictures.result().toHex() == defaultLook(screen), "the default look changed");
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

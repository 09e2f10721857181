// Renders the message box, help window, title and closing screens, mode choice and
// task-count dialogs at 800x600 and 1024x768 (as the start-up stretches them) and
// checks that nothing is placed outside its window or over something else.
// With GF_SHOT_DIR set, every picture is saved there.
#include "data/MessageSink.h"
#include "platform/Fonts.h"
#include "search/TLevelDlg.h"
#include "search/TLevelKatDlg.h"
#include "shell/AppContext.h"
#include "shell/Startup.h"
#include "shell/TChooseModeDlg.h"
#include "shell/TCreditDlg.h"
#include "shell/THelpWin.h"
#include "shell/TtitleDlg.h"
#include "shell/TxMsgDlg.h"
#include "widgets/TImage.h"
#include "widgets/TPushButton.h"
#include "widgets/TRadioGroup.h"
#include "widgets/TStatusBar.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

using namespace gf;

namespace {

const QString kLongText = QStringLiteral(
    "Hinweis: Die Systemeinstellungen für die Farbpalette sind geringer als 65536 Farben! Für "
    "eine optimale Darstellung der Bilder empfehlen wir, die Anzeige auf mindestens 65536 "
    "Farben umzustellen!\n\rEventuelle Verzerrungen der Farbdarstellungen können Folge  der "
    "derzeitigen Einstellungen sein!\n\r\n\rMöchten Sie das Programm trotzdem starten?");

void writePicture(const QString& path, QSize size, QColor a, QColor b, const QString& text)
{
    QImage img(size, QImage::Format_RGB32);
    QPainter p(&img);
    QLinearGradient g(0, 0, 0, size.height());
    g.setColorAt(0, a);
    g.setColorAt(1, b);
    p.fillRect(img.rect(), g);
    p.setPen(Qt::white);
    p.setFont(QFont(QStringLiteral("Arial"), 28, QFont::Bold));
    p.drawText(img.rect(), Qt::AlignCenter, text);
    p.end();
    QVERIFY(img.save(path, "BMP"));
}

QList<QWidget*> visibleChildren(QWidget* parent)
{
    QList<QWidget*> out;
    for (QWidget* w : parent->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        if (w->isVisibleTo(parent) && !w->isWindow())
            out << w;
    return out;
}

} // namespace

class TestUiScreens : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    AppContext m_ctx;
    QString m_shots;

    void useScreen(QSize screen)
    {
        m_ctx.ScreenWidth = screen.width();
        m_ctx.ScreenHeight = screen.height();
    }

    void adapt(QWidget* w)
    {
        const ScaleFactors f =
            ComputeScaleFactors(m_ctx.ScreenWidth, m_ctx.ScreenHeight, 800, 600, 27);
        AdaptWindow(w, f, m_ctx.ScreenWidth, m_ctx.ScreenHeight);
    }

    void shoot(QWidget* w, const QString& name)
    {
        const QImage img = w->grab().toImage();
        QVERIFY(!img.isNull());
        if (!m_shots.isEmpty())
            img.save(QStringLiteral("%1/%2_%3x%4.png")
                         .arg(m_shots, name)
                         .arg(m_ctx.ScreenWidth)
                         .arg(m_ctx.ScreenHeight));
    }

    // The buttons of a status bar lie inside it, apart from each other.
    void checkStatusBar(TStatusBar* bar)
    {
        const QList<QWidget*> buttons = visibleChildren(bar);
        QVERIFY(!buttons.isEmpty());
        for (QWidget* b : buttons) {
            QVERIFY2(bar->rect().contains(b->geometry()), qPrintable(b->objectName()));
            for (QWidget* c : buttons)
                if (b != c)
                    QVERIFY(!b->geometry().intersects(c->geometry()));
        }
        QCOMPARE(bar->geometry().bottom(), bar->parentWidget()->height() - 1);
        QCOMPARE(bar->width(), bar->parentWidget()->width());
    }

    void checkGroup(TRadioGroup* group)
    {
        for (int i = 0; i < group->count(); ++i) {
            QVERIFY(group->rect().contains(group->item(i)->geometry()));
            // every option's text fits its row
            const QFontMetrics fm(group->item(i)->font());
            QVERIFY(group->item(i)->sizeHint().width() <= group->item(i)->width());
            QVERIFY(fm.height() <= group->item(i)->height());
        }
    }

private slots:
    void initTestCase()
    {
        RegisterFontSubstitutes();
        QVERIFY(m_dir.isValid());
        m_shots = qEnvironmentVariable("GF_SHOT_DIR");
        const QString bmp = m_dir.path() + QStringLiteral("/BMP/");
        const QString hlp = m_dir.path() + QStringLiteral("/HLP/");
        QDir().mkpath(bmp);
        QDir().mkpath(hlp);
        m_ctx.paths.InstallDir = m_dir.path() + u'/';
        m_ctx.paths.BmpDir = bmp;
        m_ctx.paths.HlpDir = hlp;
        // the installation's own pictures when they are built, else stand-ins
        const QString installed = qEnvironmentVariable("GF_INSTALL_DIR") + QStringLiteral("/BMP/");
        for (const char* name : {"Titel.bmp", "Logo.bmp", "Credits.bmp"}) {
            const QString real = installed + QString::fromLatin1(name);
            if (QFile::exists(real))
                QFile::copy(real, bmp + QString::fromLatin1(name));
        }
        if (!QFile::exists(bmp + QStringLiteral("Titel.bmp")))
            writePicture(bmp + QStringLiteral("Titel.bmp"), {800, 600}, QColor(31, 73, 116),
                         QColor(12, 30, 60), QStringLiteral("Grips-Fix"));
        if (!QFile::exists(bmp + QStringLiteral("Logo.bmp")))
            writePicture(bmp + QStringLiteral("Logo.bmp"), {240, 80}, QColor(205, 224, 241),
                         QColor(42, 101, 154), QStringLiteral("Tannwald"));
        if (!QFile::exists(bmp + QStringLiteral("Credits.bmp")))
            writePicture(bmp + QStringLiteral("Credits.bmp"), {800, 600}, QColor(20, 50, 90),
                         QColor(31, 73, 116), QString());
        QFile credits(m_ctx.paths.InstallDir + QStringLiteral("credits.txt"));
        QVERIFY(credits.open(QIODevice::WriteOnly));
        credits.write("Idee und Herausgeber:\tTannwald Verlag\nProgrammierung:\tGrips-Fix-Team\n"
                      "Musik:\tAnna Beispiel\nSprecher:\tBernd Muster\nSprecher:\tClara Probe\n"
                      "Zeichnungen:\tDora Skizze\n");
        credits.close();
        QFile page(hlp + QStringLiteral("hlp18.rtf"));
        QVERIFY(page.open(QIODevice::WriteOnly));
        page.write("{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Comic Sans MS;}}"
                   "{\\colortbl;\\red0\\green0\\blue128;\\red160\\green0\\blue0;}"
                   "\\pard\\qc\\b\\fs40\\cf1 Anzahl der \\'dcbungen\\par"
                   "\\pard\\ql\\b0\\fs28\\cf0\\par Hier legen Sie fest, wie viele Aufgaben die "
                   "\\'dcbung haben soll. W\\'e4hlen Sie eine der drei M\\'f6glichkeiten und "
                   "klicken Sie dann auf \\b Weiter\\b0 .\\par\\par"
                   "\\tab\\bullet\\tab 10 \\'dcbungen: eine kurze Runde\\par"
                   "\\tab\\bullet\\tab 20 \\'dcbungen: eine normale Runde\\par"
                   "\\tab\\bullet\\tab 30 \\'dcbungen: f\\'fcr Ge\\'fcbte\\par\\par"
                   "\\cf2\\i Mit \\ul Zur\\'fcck\\ulnone  kommen Sie wieder zum Hauptfenster."
                   "\\i0\\cf0\\par}");
        page.close();
        AppContext::setCurrent(&m_ctx);
    }

    void cleanupTestCase() { AppContext::setCurrent(nullptr); }

    void screens_data()
    {
        QTest::addColumn<QSize>("screen");
        QTest::newRow("800x600") << QSize(800, 600);
        QTest::newRow("1024x768") << QSize(1024, 768);
    }

    void screens()
    {
        QFETCH(QSize, screen);
        useScreen(screen);

        struct Box
        {
            const char* name;
            QString text;
            int kind;
            int buttons;
        };
        const Box boxes[] = {
            {"msg_ok", QStringLiteral("Bitte wählen Sie eine Übungsart aus!"), mkAchtung, btn::OK},
            {"msg_long", kLongText, mkBitteBestaetigen, btn::YesNoCancel},
            {"msg_all", QStringLiteral("Alle Knöpfe"), mkHinweis, btn::All},
            {"msg_error",
             QStringLiteral("Die Datei \"tip9.rtf\"\n\r konnte nicht gefunden werden.\n\r"
                            "Möglicherweise fehlen noch weitere Dateien!"),
             mkFehlermeldung, btn::OK}};
        for (const Box& b : boxes) {
            TxMsgDlg box;
            box.prepare(b.text, b.kind, b.buttons, screen);
            box.show();
            QVERIFY(QRect(QPoint(0, 0), screen).contains(box.geometry()));
            QList<QWidget*> buttons = visibleChildren(box.pn_bottom);
            for (QWidget* x : buttons) {
                QVERIFY2(box.pn_bottom->rect().contains(x->geometry()), b.name);
                for (QWidget* y : buttons)
                    if (x != y)
                        QVERIFY2(!x->geometry().intersects(y->geometry()), b.name);
            }
            // the whole text is visible without scrolling
            QVERIFY2(box.Memo->document()->size().height() <= box.Memo->height() + 1, b.name);
            shoot(&box, QString::fromLatin1(b.name));
        }

        {
            THelpWin win;
            win.PageFile = m_ctx.paths.HlpDir + QStringLiteral("hlp18.rtf");
            QVERIFY(win.loadPage());
            win.show();
            QCOMPARE(win.size(), screen);
            checkStatusBar(win.statusBar());
            QCOMPARE(win.RichEdit->geometry().bottom() + 1, win.statusBar()->y());
            shoot(&win, QStringLiteral("help"));
            // an installed page, when the installation data is built
            const QString real =
                qEnvironmentVariable("GF_INSTALL_DIR") + QStringLiteral("/HLP/hlp12.rtf");
            if (QFile::exists(real)) {
                win.PageFile = real;
                QVERIFY(win.loadPage());
                shoot(&win, QStringLiteral("help_installed"));
            }
        }
        {
            TtitleDlg dlg;
            adapt(&dlg);
            dlg.show();
            QVERIFY(!dlg.Image->picture().isNull());
            QVERIFY(dlg.rect().contains(dlg.Image1->geometry()));
            shoot(&dlg, QStringLiteral("title"));
            dlg.Timer->stop();
        }
        {
            TCreditDlg dlg;
            adapt(&dlg);
            dlg.show();
            for (QLabel* l : dlg.findChildren<QLabel*>())
                if (l->isVisibleTo(&dlg))
                    QVERIFY(dlg.rect().contains(l->geometry()));
            QCOMPARE(dlg.Names[3]->text(), QStringLiteral("Bernd Muster"));
            QCOMPARE(dlg.Names[4]->text(), QStringLiteral("Clara Probe"));
            shoot(&dlg, QStringLiteral("credits"));
            dlg.Timer->stop();
        }
        {
            TChooseModeDlg dlg;
            dlg.ModeText[1] = QStringLiteral("Hören");
            dlg.ModeText[2] = QStringLiteral("Sehen");
            dlg.ModeText[3] = QStringLiteral("Hören und Sehen");
            adapt(&dlg);
            dlg.show();
            checkStatusBar(dlg.statusBar());
            checkGroup(dlg.Box);
            dlg.Box->setItemIndex(2);
            shoot(&dlg, QStringLiteral("choosemode"));
        }
        for (bool testRun : {false, true}) {
            m_ctx.testRun = testRun;
            TLevelDlg level;
            adapt(&level);
            level.show();
            checkStatusBar(level.statusBar());
            checkGroup(level.Group);
            QVERIFY(level.rect().contains(level.Label->geometry()));
            shoot(&level, testRun ? QStringLiteral("level_tl") : QStringLiteral("level"));
            TLevelKatDlg kat;
            adapt(&kat);
            kat.show();
            checkStatusBar(kat.statusBar());
            checkGroup(kat.Group);
            QVERIFY(kat.rect().contains(kat.Label->geometry()));
            shoot(&kat, testRun ? QStringLiteral("levelkat_tl") : QStringLiteral("levelkat"));
        }
        m_ctx.testRun = false;
    }
};

QTEST_MAIN(TestUiScreens)
#include "tst_uiscreens.moc"

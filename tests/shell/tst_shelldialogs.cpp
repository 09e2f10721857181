// Title and closing screens (timer, click, missing pictures, contributors) and the
// mode choice.
#include "core/data/MessageSink.h"
#include "core/data/Timing.h"
#include "platform/Fonts.h"
#include "shell/Courses.h"
#include "shell/TChooseModeDlg.h"
#include "shell/TCreditDlg.h"
#include "shell/TtitleDlg.h"
#include "support/Modal.h"
#include "toolkit/AppContext.h"
#include "toolkit/THelpWin.h"
#include "toolkit/TImage.h"
#include "toolkit/TPushButton.h"
#include "toolkit/TRadioGroup.h"
#include "toolkit/TxMsgDlg.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

using namespace gf;
using gf::test::runModal;
using gf::test::typeKeys;
using namespace std::chrono_literals;

namespace gf::test {

class TstShellDialogs : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    AppContext m_ctx;

private slots:
    void initTestCase()
    {
        registerFontSubstitutes();
        m_ctx.paths.InstallDir = m_dir.path() + u'/';
        m_ctx.paths.BmpDir = m_dir.path() + QStringLiteral("/BMP/");
        QDir().mkpath(m_ctx.paths.BmpDir);
        for (const char* name : {"Titel.bmp", "LOGO.BMP", "credits.bmp"}) {
            QImage img(120, 60, QImage::Format_RGB32);
            img.fill(Qt::darkCyan);
            QVERIFY(img.save(m_ctx.paths.BmpDir + QString::fromLatin1(name), "BMP"));
        }
    }

    void cleanup() { timing::setScale(1.0); }

    void screensCloseByTimerOrClick()
    {
        timing::setScale(0.01);
        ScopedMessageHook messages;
        TtitleDlg title(m_ctx);
        QElapsedTimer clock;
        clock.start();
        title.exec();
        QVERIFY(clock.elapsed() >= 35);
        QVERIFY(!title.Image->picture().isNull()); // found despite the file's case
        TCreditDlg credits(m_ctx);
        clock.restart();
        credits.exec();
        QVERIFY(clock.elapsed() >= 45);
        QVERIFY(messages.isEmpty());

        // a click ends them at once
        timing::setScale(1.0);
        TtitleDlg title2(m_ctx);
        TCreditDlg credits2(m_ctx);
        clock.restart();
        QVERIFY(runModal(title2, [&] { QTest::mouseClick(title2.Image1, Qt::LeftButton); }) >= 0);
        QVERIFY(runModal(credits2, [&] { QTest::mouseClick(credits2.Names[2], Qt::LeftButton); }) >=
                0);
        QVERIFY(clock.elapsed() < 3000);
        QVERIFY(!title2.Timer->isActive() && !credits2.Timer->isActive());
    }

    void missingPictureIsReportedAndScreenStillEnds()
    {
        AppContext ctx = m_ctx;
        ctx.paths.BmpDir = m_dir.path() + QStringLiteral("/none/");
        timing::setScale(0.01);
        ScopedMessageHook messages;
        TtitleDlg title(ctx);
        title.exec();
        QCOMPARE(messages.count(), 2);
        QCOMPARE(messages.messages()[0].kind, int(mkFehlermeldung));
        QVERIFY(messages.messages()[0].text.contains(QStringLiteral("„titel.bmp“")));
        QVERIFY(messages.messages()[1].text.contains(QStringLiteral("„logo.bmp“")));
    }

    void creditRows()
    {
        const CreditNames n = CreditNames::fromText(QStringLiteral(
            "Programmierung:\tErika Code\r\nSprecher:\tErster Sprecher\nMusik\tMia Ton\n"
            "sprecher:\tZweite Stimme\nSprecher:\tDritte Stimme\nUnbekannt:\tNiemand\n"
            "Zeichnungen:\t \nohne Tabulator"));
        QCOMPARE(n.programming, QStringLiteral("Erika Code"));
        QCOMPARE(n.music, QStringLiteral("Mia Ton"));
        QCOMPARE(n.speaker, QStringLiteral("Erster Sprecher"));
        QCOMPARE(n.speaker2, QStringLiteral("Zweite Stimme"));
        QCOMPARE(n.idea, CreditNames::DefaultName);
        QCOMPARE(n.drawings, CreditNames::DefaultName);

        const CreditNames none = CreditNames::fromText(QString());
        QCOMPARE(none.speaker, CreditNames::DefaultName);
        QVERIFY(none.speaker2.isEmpty());
    }

    void introductionChainGoesBackOneStep()
    {
        // each step answers from its own script; the log shows the order of the steps
        auto run = [](QList<QList<int>> scripts, QString& log) {
            QList<std::function<int()>> steps;
            for (int i = 0; i < scripts.size(); ++i)
                steps << [&scripts, &log, i] {
                    log += QString::number(i + 1);
                    return scripts[i].takeFirst();
                };
            return runIntroductionChain(steps);
        };
        QString log;
        QVERIFY(run({{mrOk}, {mrOk, mrOk}, {mrOk, mrOk}, {mrBack, mrOk}}, log));
        QCOMPARE(log, QString("123434"));
        log.clear();
        QVERIFY(!run({{mrOk, mrCancel}, {mrBack}}, log));
        QCOMPARE(log, QString("121"));
        log.clear();
        QVERIFY(!run({{mrBack}, {}}, log)); // nothing before the first step
        QCOMPARE(log, QString("1"));
        log.clear();
        QVERIFY(!run({{mrOk}, {mrOk}, {mrCancel}}, log));
        QCOMPARE(log, QString("123"));
    }

    void chooseMode()
    {
        TChooseModeDlg dlg(m_ctx);
        dlg.ModeText[1] = QStringLiteral("Hören");
        dlg.ModeText[2] = QStringLiteral("Sehen");
        dlg.ModeText[3] = QStringLiteral("Hören und Sehen");
        dlg.HelpKey = QStringLiteral("ChooseTelMode");
        ScopedMessageHook messages;
        QStringList pages;
        setHelpPageHook([&](const QString& path) { pages << QFileInfo(path).fileName(); });

        // "Weiter" without a choice warns and stays; then a choice closes with it
        int result = runModal(dlg, [&] {
            QCOMPARE(dlg.Box->items(), (QStringList{"Hören", "Sehen", "Hören und Sehen"}));
            QTest::mouseClick(dlg.OKBtn, Qt::LeftButton);
            QVERIFY(dlg.isVisible());
            QTest::mouseClick(dlg.HelpBtn, Qt::LeftButton);
            QTest::mouseClick(dlg.Box->item(1), Qt::LeftButton);
            QTest::mouseClick(dlg.OKBtn, Qt::LeftButton);
        });
        QCOMPARE(result, int(mrOk));
        QCOMPARE(dlg.Mode, quint16(2));
        QCOMPARE(messages.texts(), QStringList{"Bitte wählen Sie eine Übungsart aus!"});
        QCOMPARE(messages.last().kind, int(mkAchtung));
        QCOMPARE(pages, QStringList{"hlp16.rtf"});

        // the next showing starts afresh; Escape after a choice cancels
        result = runModal(dlg, [&] {
            QCOMPARE(dlg.Box->itemIndex(), -1);
            QTest::mouseClick(dlg.Box->item(2), Qt::LeftButton);
            QTest::keyClick(&dlg, Qt::Key_Escape);
        });
        QCOMPARE(result, int(mrCancel));
        // Enter is "Weiter"; "Zurück" cancels
        result = runModal(dlg, [&] {
            QTest::mouseClick(dlg.Box->item(0), Qt::LeftButton);
            QTest::keyClick(&dlg, Qt::Key_Return);
        });
        QCOMPARE(result, int(mrOk));
        QCOMPARE(dlg.Mode, quint16(1));
        QCOMPARE(runModal(dlg, [&] { QTest::mouseClick(dlg.CancelBtn, Qt::LeftButton); }),
                 int(mrCancel));
        QCOMPARE(messages.count(), 1);
        // by keys sent where the focus is: the arrows and digits choose, never a button
        QCOMPARE(runModal(dlg,
                          [&] {
                              typeKeys({Qt::Key_Up, Qt::Key_Return});
                              if (dlg.isVisible())
                                  dlg.done(-2); // the keys left it open
                          }),
                 int(mrOk));
        QCOMPARE(dlg.Mode, quint16(3));
        QCOMPARE(runModal(dlg, [&] { typeKeys({Qt::Key_2, Qt::Key_Down, Qt::Key_Return}); }),
                 int(mrOk));
        QCOMPARE(dlg.Mode, quint16(3));
        QCOMPARE(runModal(dlg, [&] { ModalPlayer::key(&dlg, Qt::Key_Z, Qt::AltModifier); }),
                 int(mrCancel));
        setHelpPageHook({});
    }
};

} // namespace gf::test

QTEST_MAIN(gf::test::TstShellDialogs)
#include "tst_shelldialogs.moc"

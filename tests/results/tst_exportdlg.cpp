#include "support/DataSupport.h"
#include "support/GuiFixture.h"

#include "platform/PlatformDialogs.h"
#include "results/TExportDlg.h"
#include "widgets/TPushButton.h"
#include "widgets/TRadioGroup.h"
#include "widgets/TxMsgDlg.h"

#include <QLineEdit>
#include <QProcess>
#include <QtTest>

using namespace gf;

namespace gf::test {

// The export dialog over a detective with stored logs and unsaved session records.
class TstExportDlg : public QObject
{
    Q_OBJECT

    static QByteArray wordRecord(const QDateTime& when)
    {
        Bytes b;
        b.u16(2).f64(serial(when.date().year(), when.date().month(), when.date().day(),
                            when.time().hour(), when.time().minute(), when.time().second()));
        for (int l = 1; l <= 4; ++l)
            b.u16(4).u16(l);
        return b.b;
    }

private slots:
    void periodBadDateAndDamagedLog()
    {
        DataFolder f;
        f.reset();
        auto d = f.registered("Anna");
        QVERIFY(d);
        QByteArray log;
        for (const QDateTime& t :
             {QDateTime(QDate(2004, 1, 19), QTime(23, 59, 59)), QDateTime(QDate(2004, 1, 20), QTime(0, 0)),
              QDateTime(QDate(2004, 1, 25), QTime(12, 0)), QDateTime(QDate(2004, 2, 5), QTime(23, 59, 59)),
              QDateTime(QDate(2004, 2, 6), QTime(0, 0))})
            log += wordRecord(t);
        QVERIFY(f.write("AnnaWS_04_01.dat", log));
        d->CurrentUser->WortFiles = {f.path("AnnaWS_04_01.dat")};
        QVERIFY(d->SaveUserFile());
        tWortKatStat unsaved;
        unsaved.Stamp = SerialDate::fromDateTime(QDateTime(QDate(2004, 2, 5), QTime(9, 0)));
        unsaved.AskedPerLevel.v = {2, 0, 0, 0};
        unsaved.CorrectPerLevel.v = {1, 0, 0, 0};
        d->WortStatList = {unsaved};

        GuiContext env;
        env.ctx.data = d.get();
        TExportDlg dlg(env.ctx);
        dlg.open();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        QVERIFY(!dlg.StartEdit->isVisible() && !dlg.EndEdit->isVisible());
        const QString out = f.path("Anna.exp");
        ScriptedDialogs dialogs;
        ScopedMessageHook messages;

        // an impossible start date stops before the file is asked for or touched
        QTest::mouseClick(dlg.Group->item(1), Qt::LeftButton);
        QVERIFY(dlg.StartEdit->isVisible() && !dlg.EndEdit->isVisible());
        shot(&dlg, "exportdlg");
        dlg.StartEdit->setText("31.02.2004");
        dialogs.saveAnswers = {out};
        QTest::mouseClick(dlg.FileNameBtn, Qt::LeftButton);
        QCOMPARE(messages.texts(), QStringList{"Ungültige Datumsangabe"});
        QVERIFY(dialogs.saveCalls.isEmpty());
        dlg.FileEdit->setText(out);
        QVERIFY(!dlg.RunExport());
        QVERIFY(!QFile::exists(out));
        QVERIFY(dlg.StartEdit->hasFocus());

        // a period: both limit days in, stored records first, then the unsaved one
        QTest::mouseClick(dlg.Group->item(3), Qt::LeftButton);
        QVERIFY(dlg.StartEdit->isVisible() && dlg.EndEdit->isVisible());
        dlg.StartEdit->setText("20.01.2004");
        dlg.EndEdit->setText("5.2.2004");
        QTest::mouseClick(dlg.FileNameBtn, Qt::LeftButton);
        QCOMPARE(dialogs.saveCalls.size(), 1);
        QCOMPARE(dialogs.saveCalls[0].proposed, out);
        QCOMPARE(dialogs.saveCalls[0].defaultSuffix, QString("exp"));
        QFile file(out);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray written = file.readAll();
        file.close();

        QProcess tool;
        tool.start(qEnvironmentVariable("GF_INSTALL_DIR") + "/gripsfix-data",
                   {"export", f.tmp.path(), "Anna", "--kind", "search", "--from", "20.01.2004",
                    "--to", "05.02.2004"});
        QVERIFY(tool.waitForFinished(30000));
        QCOMPARE(tool.exitCode(), 0);
        const QByteArray stored = tool.readAllStandardOutput();
        QCOMPARE(written, stored + "WORT\t05.02.2004\t09:00:00\t50,00\t\t\t\r\n");
        const QList<QByteArray> rows = stored.split('\n');
        QCOMPARE(rows.size(), 5); // header, 20.01., 25.01., 05.02., empty rest
        QVERIFY(rows[1].contains("20.01.2004\t00:00:00") && rows[3].contains("05.02.2004\t23:59:59"));

        // a damaged log is named, and the earlier file stays as it was
        QVERIFY(f.write("AnnaWS_04_02.dat", wordRecord(QDateTime::currentDateTime()).left(11)));
        d->CurrentUser->WortFiles.append(f.path("AnnaWS_04_02.dat"));
        dialogs.saveAnswers = {out};
        f.sink.entries.clear();
        QTest::mouseClick(dlg.FileNameBtn, Qt::LeftButton);
        QVERIFY(f.sink.last().contains("AnnaWS_04_02.dat"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), written);
        dlg.done(mrOk);
    }
};

} // namespace gf::test

QTEST_MAIN(gf::test::TstExportDlg)
#include "tst_exportdlg.moc"

#include "support/GuiFixture.h"

#include "core/data/MessageSink.h"
#include "core/data/Records.h"
#include "exercises/results/TSingleTipDlg.h"
#include "platform/PlatformDialogs.h"

#include <QLabel>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QtTest>

using namespace gf;

namespace gf::test {

class TstTipDlg : public QObject
{
    Q_OBJECT

    std::unique_ptr<test::GuiContext> env;
    std::unique_ptr<TSingleTipDlg> dlg;

    QString showTip(ExerciseKind kind, const char* shotName = nullptr)
    {
        dlg->TipKind = kind;
        dlg->open();
        if (shotName)
            test::shot(dlg.get(), shotName);
        const QString text = dlg->RichEdit->toPlainText();
        dlg->done(mrOk);
        return text;
    }
    void addTelephone(int bestSpan)
    {
        tTeleStat t;
        t.BestSpan = bestSpan;
        env->data.TelStatList << t;
    }

private slots:
    void init()
    {
        env = std::make_unique<test::GuiContext>();
        dlg = std::make_unique<TSingleTipDlg>(env->ctx);
    }
    void cleanup()
    {
        dlg.reset();
        env.reset();
    }

    void telephoneTips()
    {
        QVERIFY(showTip(ExerciseKind::Tel).isEmpty()); // no telephone result in this run
        QCOMPARE(dlg->pn_Top->text(), QString("Tagestipp zur Telefonvermittlung"));
        addTelephone(NoValue);
        QVERIFY(showTip(ExerciseKind::Tel).isEmpty());
        QCOMPARE(dlg->TelScore, -999.0);

        env->data.TelStatList.last().BestSpan = 12;
        QCOMPARE(showTip(ExerciseKind::Tel, "tip_praise"),
                 QString("\n\nDiese Übung kann Ihnen nichts Neues mehr bieten! \n\n"
                         "Sie sind einfach zu gut!\n\nBitte wenden Sie sich anderen Aufgaben zu!"));
        QCOMPARE(dlg->TelScore, 12.0);
    }

    void tipPagesFromTheHelpFolder()
    {
        addTelephone(4);
        env->ctx.TelTipNo = 2;
        QVERIFY(showTip(ExerciseKind::Tel, "tip_page").trimmed().size() > 20);

        QTemporaryDir empty;
        env->ctx.paths.HlpDir = empty.path() + "/";
        ScriptedDialogs dialogs;
        QVERIFY(showTip(ExerciseKind::Tel).isEmpty());
        QCOMPARE(dialogs.plainMessages.size(), 1);
        QVERIFY(dialogs.plainMessages.first().startsWith("Fehler: "));
    }

    void searchScoresComeFromTheLastRecord()
    {
        // An earlier half-right record: summed counts would give 150, summed percents 300.
        tWortKatStat earlier, w;
        earlier.AskedPerLevel[1] = earlier.AskedPerLevel[2] = 10;
        earlier.CorrectPerLevel[1] = earlier.CorrectPerLevel[2] = 5;
        w.AskedPerLevel = earlier.AskedPerLevel;
        w.CorrectPerLevel[1] = w.CorrectPerLevel[2] = 10; // 200
        env->data.WortStatList << earlier << w;
        env->ctx.WortTipNo = 4;
        QVERIFY(showTip(ExerciseKind::Wort).contains("Detektiv Falke,"));
        QCOMPARE(dlg->WordScore, 200.0);
        env->data.WortStatList.last().CorrectPerLevel[1] = 9; // 190: advice
        QVERIFY(showTip(ExerciseKind::Wort).startsWith("\nEin Spaziergang und ein wenig Frischluft"));
        QVERIFY(showTip(ExerciseKind::Bild).isEmpty()); // no picture search in this run
        QCOMPARE(dlg->windowTitle(), QString("Bild-Fahndung"));
    }
};

} // namespace gf::test

QTEST_MAIN(gf::test::TstTipDlg)
#include "tst_tipdlg.moc"

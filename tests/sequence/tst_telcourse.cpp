#include "support/TestProgram.h"
#include "data/ProgramData.h"
#include "data/Records.h"
#include "data/Timing.h"
#include "platform/SoundPlayer.h"
#include "results/tGraphPanel.h"
#include "search/TLevelDlg.h"
#include "sequence/TTelDlg.h"
#include "sequence/TTeleGraphDlg.h"
#include "sequence/TTeleInfoDlg.h"
#include "sequence/tTelExercise.h"
#include "widgets/AppContext.h"
#include "shell/TChooseModeDlg.h"
#include "shell/TMainWin.h"
#include "widgets/TxMsgDlg.h"
#include "widgets/TPushButton.h"
#include "widgets/TRadioGroup.h"
#include "widgets/TSkinButton.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace gf;
using gf::test::TestProgram;

namespace {

// Plays the trainee through whatever window of the course is open.
class Trainee : public QObject
{
public:
    int mode = 2;        // position in the mode choice
    int countIndex = 3;  // the test-run count of 2
    QList<bool> answers; // per task: dial right or wrong
    std::function<void(TTelDlg&)> duringExercise;

    QList<double> graphValues;
    QString graphTitle;
    bool graphShown = false;

    Trainee()
    {
        m_timer.setInterval(2);
        connect(&m_timer, &QTimer::timeout, this, [this] { act(); });
        m_timer.start();
    }

private:
    void act()
    {
        QWidget* w = QApplication::activeModalWidget();
        if (!w || w == m_busyWith)
            return;
        if (auto* info = qobject_cast<TTeleInfoDlg*>(w)) {
            info->OKBtn->click();
        } else if (auto* choose = qobject_cast<TChooseModeDlg*>(w)) {
            QTest::mouseClick(choose->Box->item(mode - 1), Qt::LeftButton);
            choose->OKBtn->click();
        } else if (auto* level = qobject_cast<TLevelDlg*>(w)) {
            QTest::mouseClick(level->Group->item(countIndex), Qt::LeftButton);
            level->OKBtn->click();
        } else if (auto* tel = qobject_cast<TTelDlg*>(w)) {
            exercise(*tel);
        } else if (auto* graph = qobject_cast<TTeleGraphDlg*>(w)) {
            graphShown = true;
            graphTitle = graph->LevelChart->Title();
            for (const tBarValue& b : graph->LevelChart->Bars())
                graphValues << b.Value;
            graph->OKBtn->click();
        }
    }

    void exercise(TTelDlg& tel)
    {
        tTelExercise& ex = tel.Exercise();
        if (ex.phase() == tTelExercise::Phase::Ready) {
            QTest::mouseClick(tel.StartPanel, Qt::LeftButton);
            return;
        }
        if (duringExercise) {
            m_busyWith = &tel;
            duringExercise(tel);
            m_busyWith = nullptr;
            return;
        }
        if (ex.phase() != tTelExercise::Phase::Dialling)
            return;
        QString number = ex.number();
        if (!answers.value(ex.tasksDone() - 1, true))
            number[0] = number[0] == u'9' ? u'8' : QChar(number[0].unicode() + 1);
        for (QChar c : number)
            QTest::mouseClick(tel.Buttons[std::size_t(c.digitValue())], Qt::LeftButton);
    }

    QTimer m_timer;
    QWidget* m_busyWith = nullptr;
};

} // namespace

class TstTelCourse : public QObject
{
    Q_OBJECT

private slots:
    void fromDoorThreeToTheSavedRecord()
    {
        TestProgram p;
        ScopedMessageHook messages;
        p.login("Falke");
        p.data.CurrentUser->TelLevel[2] = 6;
        messages.clear(); // the item-table notice of the login

        Trainee trainee;
        trainee.answers = {true, false};
        p.win->Image3Click();

        QCOMPARE(p.ctx.TelMode, 2);
        QCOMPARE(p.data.TelStatList.size(), 1);
        const tTeleStat r = p.data.TelStatList.first();
        QCOMPARE(r.Mode, 2);
        QCOMPARE(r.TaskCount, 2);
        QCOMPARE(r.Trials[6], 2);
        QCOMPARE(r.Correct[6], 1);
        QCOMPARE(r.BestSpan, NoValue);
        QCOMPARE(p.data.CurrentUser->TelLevel[2], 3);
        QVERIFY(trainee.graphShown);
        QCOMPARE(trainee.graphTitle, QString("Telefonvermittlung (nur Lesen, 2 Übungen)"));
        QCOMPARE(trainee.graphValues, QList<double>{50.0});
        QVERIFY(p.win->BackImage->isHidden());
        QVERIFY2(messages.isEmpty(), qPrintable(messages.texts().join(" | ")));

        // Closing the program files the record and rewrites the user file.
        p.win->CloseWithoutQuestion = false;
        p.win->close();
        QFile log(p.data.DataDir + "FalkeTS" + p.data.MonthTag() + ".dat");
        QVERIFY(log.open(QIODevice::ReadOnly));
        tTeleStat stored;
        QVERIFY(tProgramData::ReadTelStat(log, stored));
        QCOMPARE(stored.Trials[6], 2);
        QCOMPARE(stored.Correct[6], 1);
        QCOMPARE(stored.Mode, 2);
        QVERIFY(log.atEnd());

        tProgramData fresh;
        fresh.setDataDir(p.data.DataDir);
        fresh.UserName = "Falke";
        QVERIFY(fresh.OpenUser());
        QCOMPARE(fresh.CurrentUser->TelLevel[2], 3);
    }

    void abortAnsweredNoGoesOnAndYesStoresNothing()
    {
        TestProgram p;
        ScopedMessageHook messages;
        p.login("Eule");
        p.data.CurrentUser->TelLevel[1] = 7;
        messages.clear();
        timing::setScale(0.05); // a presentation the trainee cannot miss on a busy machine
        int phaseAfterNo = -1;
        bool askedYes = false;
        Trainee trainee;
        trainee.mode = 1;
        trainee.duringExercise = [&](TTelDlg& tel) {
            if (tel.Exercise().phase() != tTelExercise::Phase::Presenting)
                return;
            if (phaseAfterNo < 0) {
                messages.answer(mrNo);
                QTest::keyClick(&tel, Qt::Key_Escape);
                QTRY_COMPARE(tel.Exercise().phase(), tTelExercise::Phase::Dialling);
                phaseAfterNo = int(tel.Exercise().phase());
                return;
            }
        };
        // once dialling after the "Nein", break off with "Ja": one question per Escape
        QTimer breakOff;
        breakOff.setInterval(5);
        connect(&breakOff, &QTimer::timeout, [&] {
            auto* tel = qobject_cast<TTelDlg*>(QApplication::activeModalWidget());
            if (!tel || phaseAfterNo < 0 || askedYes)
                return;
            askedYes = true;
            messages.answer(mrYes);
            QTest::keyClick(tel, Qt::Key_Escape);
        });
        breakOff.start();
        p.win->Image3Click();

        QVERIFY(askedYes);
        QCOMPARE(messages.count(), 2);
        for (const auto& m : messages.messages())
            QCOMPARE(m.text, QString("Möchten Sie die Telefonvermittlung wirklich abbrechen?"));
        QVERIFY(p.data.TelStatList.isEmpty());
        QCOMPARE(p.data.CurrentUser->TelLevel[1], 7);
        QVERIFY(!trainee.graphShown);
        QVERIFY(p.ctx.ExerciseStarted);
    }
};

QTEST_MAIN(TstTelCourse)
#include "tst_telcourse.moc"

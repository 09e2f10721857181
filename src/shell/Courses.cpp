#include "shell/Courses.h"

#include "data/MessageSink.h"
#include "data/ProgramData.h"
#include "data/Timing.h"
#include "data/Random.h"
#include "platform/SoundPlayer.h"
#include "sequence/TTelDlg.h"
#include "sequence/TTeleGraphDlg.h"
#include "sequence/TTeleInfoDlg.h"
#include "sequence/TelRules.h"
#include "results/TSingleTipDlg.h"
#include "search/TLevelDlg.h"
#include "shell/TChooseModeDlg.h"
#include "shell/WindowSet.h"
#include "widgets/AppContext.h"

namespace gf {

bool RunIntroductionChain(const QList<std::function<int()>>& steps)
{
    int i = 0;
    while (i < steps.size()) {
        const int result = steps[i]();
        if (result == mrOk)
            ++i;
        else if (result == mrBack && i > 0)
            --i;
        else
            return false;
    }
    return true;
}

bool Courses::Telephone()
{
    m_ctx.ExerciseStarted = true;
    m_w.SingleTipDlg->TipKind = 3;

    if (m_w.TeleInfoDlg->exec() != mrOk)
        return false;
    TChooseModeDlg& choose = *m_w.ChooseModeDlg;
    choose.ModeText[1] = QStringLiteral("Hören");
    choose.ModeText[2] = QStringLiteral("Sehen");
    choose.ModeText[3] = QStringLiteral("Hören und Sehen");
    choose.HelpKey = QStringLiteral("ChooseTelMode");
    if (choose.exec() != mrOk)
        return false;
    m_ctx.TelMode = choose.Mode;
    if (m_w.LevelDlg->exec() != mrOk)
        return false;
    TTelDlg& tel = *m_w.TelDlg;
    tel.TasksTotal = m_w.LevelDlg->Count;

    if (m_ctx.player)
        m_ctx.player->close();
    m_ctx.TelTipNo = quint16(rng().uniform(1, 9));

    tProgramData& data = *m_ctx.data;
    tTeleStat stat;
    stat.Kind = 2;
    stat.Mode = m_ctx.TelMode;
    stat.Stamp = SerialDate::fromDateTime(data.clock().now());
    stat.TaskCount = m_w.LevelDlg->Count;
    tel.Stat = &stat;
    const int result = tel.exec();
    tel.Stat = nullptr;
    if (result != mrOk)
        return false;

    if (data.CurrentUser)
        data.CurrentUser->TelLevel[m_ctx.TelMode] = tel::NextStartLevel(stat.BestSpan);
    data.TelStatList.append(stat);

    if (tel.TasksDone == tel.TasksTotal) {
        m_w.TeleGraphDlg->Stat = &data.TelStatList.last();
        m_w.TeleGraphDlg->exec();
        m_w.TeleGraphDlg->Stat = nullptr;
    }
    return true;
}

} // namespace gf

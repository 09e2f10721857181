#include "shell/Courses.h"

#include "core/data/MessageSink.h"
#include "core/data/ProgramData.h"
#include "core/data/Random.h"
#include "core/data/Session.h"
#include "core/data/Timing.h"
#include "core/results/TipRules.h"
#include "core/sequence/MemoRules.h"
#include "core/sequence/TelRules.h"
#include "exercises/results/TSingleTipDlg.h"
#include "exercises/search/TBmpKatDlg.h"
#include "toolkit/TxMsgDlg.h"
#include "exercises/search/TErklaerDlgs.h"
#include "exercises/search/TGraphDlg.h"
#include "exercises/search/TLevelDlg.h"
#include "exercises/search/TLevelKatDlg.h"
#include "exercises/search/TWortDlg.h"
#include "exercises/sequence/TBMPPresentDlg.h"
#include "exercises/sequence/TBmpSndGraphDlg.h"
#include "exercises/sequence/TSndBmpInfDlg.h"
#include "exercises/sequence/TTelDlg.h"
#include "exercises/sequence/TTeleGraphDlg.h"
#include "exercises/sequence/TTeleInfoDlg.h"
#include "platform/SoundPlayer.h"
#include "shell/SessionFlow.h"
#include "shell/TChooseModeDlg.h"
#include "shell/WindowSet.h"
#include "toolkit/AppContext.h"

namespace gf {

bool runIntroductionChain(const QList<std::function<int()>>& steps)
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
    m_w.SingleTipDlg->TipKind = ExerciseKind::Tel;

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
    tel.Record = tTeleStat{};
    tel.Record.Kind = 2;
    tel.Record.Mode = m_ctx.TelMode;
    tel.Record.Stamp = SerialDate::fromDateTime(data.clock().now());
    tel.Record.TaskCount = m_w.LevelDlg->Count;
    if (tel.exec() != mrOk)
        return false;

    // The window hands its record over; stored before the graph shows it, so that a
    // result the trainee has seen is never lost.
    settleSave(m_ctx, tSession(data, m_ctx.ReadOnlySession).finish(tel.Record), false);

    if (tel.TasksDone == tel.TasksTotal) {
        m_w.TeleGraphDlg->Stat = &data.TelStatList.last();
        m_w.TeleGraphDlg->exec();
        m_w.TeleGraphDlg->Stat = nullptr;
    }
    return true;
}

bool Courses::Memo()
{
    m_ctx.ExerciseStarted = true;
    m_w.SingleTipDlg->TipKind = ExerciseKind::Memo;
    if (m_ctx.player)
        m_ctx.player->close();

    if (m_w.SndBmpInfDlg->exec() != mrOk)
        return false;
    TChooseModeDlg& choose = *m_w.ChooseModeDlg;
    // The texts are those last given; a menu entry before any door has given none.
    if (choose.ModeText[1].isEmpty())
        setSequenceModeTexts(choose);
    choose.HelpKey = QStringLiteral("ChooseBmpMode");
    if (choose.exec() != mrOk)
        return false;
    TBMPPresentDlg& memo = *m_w.BMPPresentDlg;
    memo.Mode = choose.Mode;
    m_w.SndBmpInfDlg->Mode = choose.Mode;
    memo.LevelLimitLow = memo::LevelLimitLow;
    memo.LevelLimitHigh = memo::LevelLimitHigh;
    if (m_w.LevelDlg->exec() != mrOk)
        return false;
    memo.TasksTotal = m_w.LevelDlg->Count;
    m_ctx.MemoTipNo = quint16(rng().uniform(1, 9));

    tProgramData& data = *m_ctx.data;
    memo.Record = tBmpSndStat{};
    memo.Record.Mode = memo.Mode;
    memo.Record.Kind = 2;
    memo.Record.TaskCount = m_w.LevelDlg->Count;
    memo.Record.Stamp = SerialDate::fromDateTime(data.clock().now());
    if (memo.exec() != mrOk)
        return false;

    settleSave(m_ctx, tSession(data, m_ctx.ReadOnlySession).finish(memo.Record), false);
    m_w.BmpSndGraphDlg->Stat = &data.MemoStatList.last();
    m_w.BmpSndGraphDlg->exec();
    m_w.BmpSndGraphDlg->Stat = nullptr;
    return true;
}

void setSequenceModeTexts(TChooseModeDlg& choose)
{
    choose.ModeText[1] = QStringLiteral("Hören");
    choose.ModeText[2] = QStringLiteral("Sehen");
    choose.ModeText[3] = QStringLiteral("Hören und Sehen");
}

namespace {

// The introductions, the run and the record of one search course; the two courses
// differ only in their windows and their session list.
template <typename Stat>
bool searchCourse(AppContext& ctx, WindowSet& w, TSearchRunDlg& run, const QString& fileName,
                  const QList<TSearchIntroDlg*>& intro, TTableIntroDlg& tableIntro,
                  std::shared_ptr<const tConfig>& overviewTable, ExerciseKind area, quint16& tipNo)
{
    ctx.ExerciseStarted = true;
    if (ctx.player)
        ctx.player->close();
    w.SingleTipDlg->TipKind = area;

    // A failed load keeps the table drawn before; without any table there is no run.
    if (run.LoadItemTables(fileName))
        tableIntro.setTableLines(run.Tables.Current->Lines);
    if (!run.Tables.Current)
        return false;
    if (const QString missing = run.missingMedia(); !missing.isEmpty()) {
        xMessageDlg(missing, mkFehlermeldung, btn::OK, 0);
        return false;
    }
    overviewTable = run.Tables.Current;

    TLevelKatDlg& level = *w.LevelKatDlg;
    const bool introduced = runIntroductionChain({
        [&] { return intro[0]->exec(); },
        [&] {
            const int result = level.exec();
            if (result == mrOk)
                run.TaskCount = level.Count;
            return result;
        },
        [&] { return intro[1]->exec(); },
        [&] { return intro[2]->exec(); },
    });
    if (!introduced)
        return false;

    tipNo = quint16(rng().uniform(1, 7));
    Stat stat;
    stat.Kind = 2;
    stat.Stamp = SerialDate::fromDateTime(ctx.data->clock().now());
    if (run.exec() != mrOk)
        return false;
    if (run.SumLevels(stat)) {
        tSession session(*ctx.data, ctx.ReadOnlySession);
        if constexpr (std::is_same_v<Stat, tBmpKatStat>)
            settleSave(ctx, session.finishPicture(stat), false);
        else
            settleSave(ctx, session.finishWord(stat), false);
    }

    TGraphDlg& graph = *w.GraphDlg;
    graph.ChartMode = area == ExerciseKind::Bild ? search::cmPicture : search::cmWord;
    (area == ExerciseKind::Bild ? graph.PictureTable : graph.WordTable) = run.Run().table();
    graph.exec();
    return true;
}

} // namespace

bool Courses::wordSearch()
{
    TXErklaer3Dlg& overview = *m_w.XErklaer3Dlg;
    return searchCourse<tWortKatStat>(m_ctx, m_w, *m_w.WortDlg, QStringLiteral("std.cfg"),
                        {m_w.XErklaerDlg, m_w.XErklaer2Dlg, &overview}, *m_w.XErklaer2Dlg,
                        overview.Table, ExerciseKind::Wort, m_ctx.WortTipNo);
}

bool Courses::pictureSearch()
{
    TBmpErklaer3Dlg& overview = *m_w.BmpErklaer3Dlg;
    return searchCourse<tBmpKatStat>(m_ctx, m_w, *m_w.BmpKatDlg, QStringLiteral("bmp.cfg"),
                        {m_w.BmpErklaerDlg, m_w.BmpErkl2Dlg, &overview}, *m_w.BmpErkl2Dlg,
                        overview.Table, ExerciseKind::Bild, m_ctx.BildTipNo);
}

} // namespace gf

#include "shell/WindowSet.h"

#include "exercises/results/TExportDlg.h"
#include "exercises/results/TFortschrittDlg.h"
#include "exercises/results/TSingleTipDlg.h"
#include "exercises/results/TTagDlg.h"
#include "exercises/search/TAbfragDlg.h"
#include "exercises/search/TBmpAbfragDlg.h"
#include "exercises/search/TBmpKatDlg.h"
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
#include "shell/PendingWindows.h"
#include "shell/TAnmeldDlg.h"
#include "shell/TChooseModeDlg.h"
#include "shell/TCreditDlg.h"
#include "shell/TTuerDlg.h"
#include "shell/TtitleDlg.h"
#include "toolkit/THelpWin.h"
#include "toolkit/TxMsgDlg.h"

namespace gf {

void createWindowSet(WindowSet& w, AppContext& ctx, QWidget* owner)
{
    w.WortDlg = new TWortDlg(ctx, owner);
    w.AbfragDlg = new TAbfragDlg(ctx, owner);
    w.MemoDlg = new TMemoDlg(owner);
    w.TeleInfoDlg = new TTeleInfoDlg(ctx, owner);
    w.BmpTastDlg = new TBmpTastDlg(owner);
    w.TeleGraphDlg = new TTeleGraphDlg(ctx, owner);
    w.LevelDlg = new TLevelDlg(ctx, owner);
    w.BMPPresentDlg = new TBMPPresentDlg(ctx, owner);
    w.TelDlg = new TTelDlg(ctx, owner);
    w.LevelKatDlg = new TLevelKatDlg(ctx, owner);
    w.BmpKatDlg = new TBmpKatDlg(ctx, owner);
    w.BmpAbfragDlg = new TBmpAbfragDlg(ctx, owner);
    w.SndBmpInfDlg = new TSndBmpInfDlg(ctx, owner);
    w.TuerDlg = new TTuerDlg(ctx, owner);
    w.BmpSndGraphDlg = new TBmpSndGraphDlg(ctx, owner);
    w.TagDlg = new TTagDlg(ctx, owner);
    w.CreditDlg = new TCreditDlg(ctx, owner);
    w.ChooseModeDlg = new TChooseModeDlg(ctx, owner);
    w.titleDlg = new TtitleDlg(ctx, owner);
    w.ExportDlg = new TExportDlg(ctx, owner);
    w.GraphDlg = new TGraphDlg(ctx, owner);
    w.HelpWin = new THelpWin(ctx, owner);
    w.TipDlg = new TTipDlg(owner);
    w.XErklaerDlg = new TXErklaerDlg(ctx, owner);
    w.BmpErkl2Dlg = new TBmpErkl2Dlg(ctx, owner);
    w.BmpErklaerDlg = new TBmpErklaerDlg(ctx, owner);
    w.XErklaer2Dlg = new TXErklaer2Dlg(ctx, owner);
    w.BmpErklaer3Dlg = new TBmpErklaer3Dlg(ctx, owner);
    w.XErklaer3Dlg = new TXErklaer3Dlg(ctx, owner);
    w.SingleTipDlg = new TSingleTipDlg(ctx, owner);
    w.xMsgDlg = new TxMsgDlg(owner);
    w.AnmeldDlg = new TAnmeldDlg(ctx, owner);
    w.FortschrittDlg = new TFortschrittDlg(ctx, owner);
    w.TeleGraphDlg->SingleTipDlg = w.SingleTipDlg;
    w.BmpSndGraphDlg->SingleTipDlg = w.SingleTipDlg;
    w.WortDlg->AbfragDlg = w.AbfragDlg;
    w.BmpKatDlg->BmpAbfragDlg = w.BmpAbfragDlg;
    w.GraphDlg->SingleTipDlg = w.SingleTipDlg;
    w.AnmeldDlg->TuerDlg = w.TuerDlg;
}

} // namespace gf

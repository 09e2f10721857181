#pragma once

class QWidget;

namespace gf {

struct AppContext;

class TMainWin;
class TWortDlg;
class TAbfragDlg;
class TMemoDlg;
class TTeleInfoDlg;
class TBmpTastDlg;
class TTeleGraphDlg;
class TLevelDlg;
class TBMPPresentDlg;
class TTelDlg;
class TLevelKatDlg;
class TBmpKatDlg;
class TBmpAbfragDlg;
class TSndBmpInfDlg;
class TTuerDlg;
class TBmpSndGraphDlg;
class TTagDlg;
class TCreditDlg;
class TChooseModeDlg;
class TtitleDlg;
class TExportDlg;
class TGraphDlg;
class THelpWin;
class TTipDlg;
class TXErklaerDlg;
class TBmpErkl2Dlg;
class TBmpErklaerDlg;
class TXErklaer2Dlg;
class TBmpErklaer3Dlg;
class TXErklaer3Dlg;
class TSingleTipDlg;
class TxMsgDlg;
class TAnmeldDlg;
class TFortschrittDlg;

// Every window of the program. They are created once, in this order, and live as
// children of the main window for the whole run.
struct WindowSet
{
    TMainWin* MainWin = nullptr;
    TWortDlg* WortDlg = nullptr;
    TAbfragDlg* AbfragDlg = nullptr;
    TMemoDlg* MemoDlg = nullptr;
    TTeleInfoDlg* TeleInfoDlg = nullptr;
    TBmpTastDlg* BmpTastDlg = nullptr;
    TTeleGraphDlg* TeleGraphDlg = nullptr;
    TLevelDlg* LevelDlg = nullptr;
    TBMPPresentDlg* BMPPresentDlg = nullptr;
    TTelDlg* TelDlg = nullptr;
    TLevelKatDlg* LevelKatDlg = nullptr;
    TBmpKatDlg* BmpKatDlg = nullptr;
    TBmpAbfragDlg* BmpAbfragDlg = nullptr;
    TSndBmpInfDlg* SndBmpInfDlg = nullptr;
    TTuerDlg* TuerDlg = nullptr;
    TBmpSndGraphDlg* BmpSndGraphDlg = nullptr;
    TTagDlg* TagDlg = nullptr;
    TCreditDlg* CreditDlg = nullptr;
    TChooseModeDlg* ChooseModeDlg = nullptr;
    TtitleDlg* titleDlg = nullptr;
    TExportDlg* ExportDlg = nullptr;
    TGraphDlg* GraphDlg = nullptr;
    THelpWin* HelpWin = nullptr;
    TTipDlg* TipDlg = nullptr;
    TXErklaerDlg* XErklaerDlg = nullptr;
    TBmpErkl2Dlg* BmpErkl2Dlg = nullptr;
    TBmpErklaerDlg* BmpErklaerDlg = nullptr;
    TXErklaer2Dlg* XErklaer2Dlg = nullptr;
    TBmpErklaer3Dlg* BmpErklaer3Dlg = nullptr;
    TXErklaer3Dlg* XErklaer3Dlg = nullptr;
    TSingleTipDlg* SingleTipDlg = nullptr;
    TxMsgDlg* xMsgDlg = nullptr;
    TAnmeldDlg* AnmeldDlg = nullptr;
    TFortschrittDlg* FortschrittDlg = nullptr;
};

// Creates every window, in the order above, as children of owner, and links those that
// call one another.
void createWindowSet(WindowSet& w, AppContext& ctx, QWidget* owner);

} // namespace gf

#include "search/TLevelKatDlg.h"

#include "data/MessageSink.h"

namespace gf {

TLevelKatDlg::TLevelKatDlg(AppContext& ctx, QWidget* parent) : TCountDlg(ctx, {8, 16, 32}, false, parent)
{
    HelpKey = QStringLiteral("LevelKatDlg");
}

void TLevelKatDlg::back()
{
    done(mrBack);
}

} // namespace gf

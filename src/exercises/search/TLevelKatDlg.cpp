#include "exercises/search/TLevelKatDlg.h"

#include "core/data/MessageSink.h"

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

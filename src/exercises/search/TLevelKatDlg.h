#pragma once

#include "exercises/search/TLevelDlg.h"

namespace gf {

// How many word-search or picture-search tasks: 8, 16 or 32. "Zurück" steps back to
// the previous introduction (mrBack); Escape cancels.
class TLevelKatDlg final : public TCountDlg
{
    Q_OBJECT
public:
    explicit TLevelKatDlg(AppContext& ctx, QWidget* parent = nullptr);

protected:
    void back() override;
};

} // namespace gf

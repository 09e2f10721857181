#pragma once

#include "shell/TPictureScreen.h"

namespace gf {

// The title screen: the title picture over the whole window and the logo below the
// middle, for four seconds or until a click.
class TtitleDlg final : public TPictureScreen
{
    Q_OBJECT
public:
    explicit TtitleDlg(AppContext& ctx, QWidget* parent = nullptr);

protected:
    void FormShow() override;
};

} // namespace gf

#pragma once

#include "core/data/ProgramData.h"
#include "core/data/Timing.h"
#include "toolkit/AppContext.h"

#include <QDir>
#include <QPixmap>
#include <QWidget>
#include <memory>

namespace gf::test {

// A program context in the test-run mode over the built installation folder, with a
// detective logged in.
struct GuiContext
{
    GuiContext()
    {
        timing::setScale(0.01);
        const QString install = qEnvironmentVariable("GF_INSTALL_DIR");
        ctx.paths.ProgramDir = ctx.paths.InstallDir = install + "/";
        ctx.paths.BmpDir = install + "/BMP/";
        ctx.paths.WavDir = install + "/WAV/";
        ctx.paths.HlpDir = install + "/HLP/";
        ctx.testRun = true;
        ctx.data = &data;
        data.CurrentUser = std::make_shared<tUser>();
        data.CurrentUser->Name = QStringLiteral("Falke");
        data.UserName = QStringLiteral("Falke");
    }

    AppContext ctx;
    tProgramData data;
};

// With GF_SHOT_DIR set, saves what a window shows, for a person to look at.
inline void shot(QWidget* w, const QString& name)
{
    const QString dir = qEnvironmentVariable("GF_SHOT_DIR");
    if (!dir.isEmpty())
        w->grab().save(QDir(dir).filePath(name + ".png"));
}

} // namespace gf::test

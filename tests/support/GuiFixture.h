#pragma once

#include "core/data/ProgramData.h"
#include "core/data/Timing.h"
#include "toolkit/AppContext.h"

#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QList>
#include <QPixmap>
#include <QWidget>
#include <cmath>
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

// The highest contrast ratio (as for web text: 1 to 21) between a pixel of what is typed
// into a visible edit field and the field itself, read from the field's own picture with
// `typed` in it.
inline double typedTextContrast(QLineEdit* edit, const QString& typed = QStringLiteral("20.01.2004"))
{
    edit->setText(typed);
    const QImage img = edit->grab().toImage();
    auto lum = [](QRgb c) {
        auto lin = [](int v) {
            const double s = v / 255.0;
            return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * lin(qRed(c)) + 0.7152 * lin(qGreen(c)) + 0.0722 * lin(qBlue(c));
    };
    // right of the text, inside the frame
    const double field = lum(img.pixel(img.width() - 8, img.height() / 2));
    double best = 1;
    // inside the frame, where the text begins
    for (int y = 5; y < img.height() - 5; ++y)
        for (int x = 6; x < img.width() / 2; ++x) {
            const double l = lum(img.pixel(x, y));
            best = std::max(best, (std::max(l, field) + 0.05) / (std::min(l, field) + 0.05));
        }
    return best;
}

} // namespace gf::test

#pragma once

#include "platform/InstallPaths.h"

#include <QStringList>
#include <functional>

class QWidget;

namespace gf {

class MessageSink;

// The media inventory that must be complete before the program runs, in the order
// the check walks it (which decides which missing file is named first).
const QStringList& InventoryPictures();
const QStringList& InventorySounds();
const QStringList& InventoryHelpPages();

using FileExistsFn = std::function<bool(const QString& folder, const QString& name)>;

// Names the first missing file and returns false.
bool CheckMediaFiles(const InstallPaths& paths, MessageSink& messages, const FileExistsFn& exists);
QString MissingFileMessage(const QString& bareName);

// Stretching every window from the 800x600 design to the screen.
struct ScaleFactors
{
    double font = 1.0; // FontFactor
    double x = 1.0;
    double y = 1.0;
};

ScaleFactors ComputeScaleFactors(int screenWidth, int screenHeight, int designWidth,
                                 int designHeight, int xxxWidth);

// Scales one control and, for containers, its children. Skinned buttons keep their size.
void ScaleControl(QWidget* control, double fontFactor, double x, double y);

// Fits one top-level window to the screen and scales its direct children.
void AdaptWindow(QWidget* window, const ScaleFactors& factors, int screenWidth, int screenHeight);

} // namespace gf

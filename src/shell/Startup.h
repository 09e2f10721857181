#pragma once

#include "platform/InstallPaths.h"
#include "toolkit/WindowScaling.h"

#include <QStringList>
#include <functional>

namespace gf {

class MessageSink;

// The media inventory that must be complete before the program runs, in the order
// the check walks it (which decides which missing file is named first).
const QStringList& inventoryPictures();
const QStringList& inventorySounds();
const QStringList& inventoryHelpPages();

using FileExistsFn = std::function<bool(const QString& folder, const QString& name)>;

// Names the first missing file and returns false.
bool CheckMediaFiles(const InstallPaths& paths, MessageSink& messages, const FileExistsFn& exists);
QString missingFileMessage(const QString& bareName);

} // namespace gf

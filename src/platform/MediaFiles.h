#pragma once

#include <QString>

namespace gf {

// Media files are named in varying case ("Jingle.wav", "JINGLE.WAV"); these find
// them without regard to case, so a file copied from a system that ignores case is found.

// The real path of the file in folder whose name matches name: an exact match
// first, else a case-insensitive one (the first in sorted order when several
// match). Empty when there is none. name may hold sub-folders; only its last
// part is matched without regard to case.
QString resolveMediaFile(const QString& folder, const QString& name);
bool mediaFileExists(const QString& folder, const QString& name);
// The resolved path, or folder + name when no file matches (for messages and for
// loaders that report a missing file themselves).
QString mediaPath(const QString& folder, const QString& name);

// Folder listings are cached and read again when a folder's modification time
// changes; this drops them all.
void clearMediaCache();

} // namespace gf

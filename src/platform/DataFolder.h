#pragma once

#include <QString>

namespace gf {

// The documents folder shared by all users on Windows; elsewhere the user's
// documents folder. Ends with "/"; empty when the system names none.
QString commonDocumentsDir();

// The users' data folder at start-up: documents folder + "Tannwald/GripsFix/Daten/";
// without a documents folder, the "Daten" folder beside the program folder.
QString defaultDataDir(const QString& programDir);
// The same with the documents folder given (tests; empty means none).
QString dataDirFrom(const QString& documentsDir, const QString& programDir);

// Creates the folder and every missing parent. True when the folder exists afterwards.
bool createFolderChain(const QString& folder);

// Whether a detective's files can be created in folder: it exists, is a folder, is
// not on read-only media, is writable, and a probe file can be created and removed.
bool canCreateFilesIn(const QString& folder);

} // namespace gf

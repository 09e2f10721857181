#pragma once

#include <QString>

class QSettings;

namespace gf {

class MessageSink;

// The program-wide folder values. Every folder value ends with "/".
struct InstallPaths
{
    // Folder of the program file. Kept in its real case: lower-casing a path breaks it
    // on a case-sensitive file system.
    QString ProgramDir;
    QString InstallDir; // "Path" from the settings, else ProgramDir
    QString BmpDir;     // pictures
    QString WavDir;     // sounds
    QString HlpDir;     // help and tip pages
    // The settings file or key the folders come from; empty when they are the program's.
    QString SettingsFile;
};

// The folder value of a program folder: the absolute, cleaned path with a final "/".
QString programDirValue(const QString& programDir);

// A folder value as the settings store it: cut to maxLength characters (when not
// negative), then a final "/" unless it already ends with "/" or "\" (a stored final
// "\" becomes "/").
QString folderValue(const QString& stored, int maxLength = -1);

// Reads the install folders from the system-wide settings (on Windows the
// HKEY_LOCAL_MACHINE key "Software\Tannwald\GripsFix", elsewhere the INI file
// Tannwald/GripsFix.conf in the system configuration folder, /etc/xdg on Linux;
// keys Path, Wav, Bmp, Hlp; a backslash in an INI value is written twice). Without settings the
// folders are the "BMP", "WAV" and "HLP" folders beside the program. On an error
// (unreadable settings, no "Path") the fatal message goes to messages and the
// result is false; out is then left partly filled.
bool ReadInstallPaths(InstallPaths& out, const QString& programDir, MessageSink& messages);
// The same with the settings given; null means that no settings exist.
bool ReadInstallPaths(InstallPaths& out, const QString& programDir, MessageSink& messages,
                      QSettings* settings);

// Makes ReadInstallPaths read this INI file instead of the system settings; a path
// to a file that does not exist stands for "no settings". Empty restores the system.
void setInstallSettingsFileForTests(const QString& iniPath);

} // namespace gf

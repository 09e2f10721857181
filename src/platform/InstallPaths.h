#pragma once

#include <QString>

namespace gf {

// The program-wide folder values. Every folder value ends with "/".
struct InstallPaths
{
    QString ProgramDir; // folder of the program file, lower case
    QString InstallDir; // "Path" from the settings, else ProgramDir
    QString BmpDir;     // pictures
    QString WavDir;     // sounds
    QString HlpDir;     // help and tip pages
};

} // namespace gf

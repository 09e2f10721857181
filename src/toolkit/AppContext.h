#pragma once

#include "platform/InstallPaths.h"

#include <QtGlobal>

namespace gf {

class SoundPlayer;
class MessageSink;
class tProgramData;

// Program-wide values. The program creates one at start-up and hands it to every
// window it makes; tests make fresh ones.
struct AppContext
{
    InstallPaths paths;
    tProgramData* data = nullptr;
    SoundPlayer* player = nullptr;
    MessageSink* messages = nullptr;

    bool testRun = false; // first argument "tl"

    int ScreenWidth = 800;
    int ScreenHeight = 600;
    double FontFactor = 1.0;

    bool ExerciseStarted = false;
    bool ReadOnlySession = false;
    quint16 TelMode = 1;
    quint16 WortTipNo = 1;
    quint16 BildTipNo = 1;
    quint16 TelTipNo = 1;
    quint16 MemoTipNo = 1;
};

} // namespace gf

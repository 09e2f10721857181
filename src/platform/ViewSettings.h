#pragma once

namespace gf {

// The look chosen on this computer, kept in the user's settings (the registry's
// HKEY_CURRENT_USER on Windows, a file under the user's configuration folder elsewhere).
struct ViewSettings
{
    bool lowVision = false;
    int textPercent = 100;
};

ViewSettings readViewSettings();
// False when the settings could not be written.
bool writeViewSettings(const ViewSettings& v);

} // namespace gf

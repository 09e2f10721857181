#pragma once

#include <QString>
#include <memory>

namespace gf {

// The program's sound player, shaped like the media control it stands in for:
// set a file, open it, play it with or without waiting for the end, close it.
// Errors never throw and never block: they leave an error code and text.
class SoundPlayer
{
public:
    virtual ~SoundPlayer() = default;

    virtual void setFileName(const QString& path) = 0;
    virtual QString fileName() const = 0;
    // Opens the file set last. Returns false and sets the error on failure.
    virtual bool open() = 0;
    // Plays the opened file from the start. With wait, returns when the sound has
    // ended (or failed), processing window events meanwhile so the window stays live.
    virtual bool play(bool wait) = 0;
    virtual void stop() = 0;
    virtual void close() = 0;
    virtual bool isPlaying() const = 0;

    virtual int errorCode() const = 0; // 0 = no error
    virtual QString errorText() const = 0;
};

// Qt Multimedia player; with silent it never plays and reports success at once
// (test-run mode and tests).
std::unique_ptr<SoundPlayer> createSoundPlayer(bool silent);

} // namespace gf

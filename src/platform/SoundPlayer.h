#pragma once

#include <QString>
#include <QStringList>
#include <chrono>
#include <memory>
#include <optional>

namespace gf {

// Error codes of the sound player; 0 means no error.
enum SoundError : int
{
    seNone = 0,
    seNoFile = 1, // no file set
    seFileNotFound = 2,
    seInvalidFile = 3, // not a playable WAV file
    seNotOpen = 4,     // play without a successful open
    seNoDevice = 5,    // no audio output
    sePlayFailed = 6,  // the output reported an error while playing
};

// The program's sound player, shaped like the media control it stands in for:
// set a file, open it, play it with or without waiting for the end, close it.
// Errors never throw and never block: they leave an error code and text. The texts
// complete the sentence "Eine akustische Darstellung ist nicht möglich, weil ...".
class SoundPlayer
{
public:
    virtual ~SoundPlayer() = default;

    virtual void setFileName(const QString& path) = 0;
    virtual QString fileName() const = 0;
    // Opens the file set last, found without regard to case. Returns false and sets
    // the error on failure.
    virtual bool open() = 0;
    // Plays the opened file from the start. With wait, returns when the sound has
    // ended (or failed), processing window events meanwhile so the window stays live.
    virtual bool play(bool wait) = 0;
    virtual void stop() = 0;
    virtual void close() = 0;
    virtual bool isPlaying() const = 0;

    virtual int errorCode() const = 0; // 0 = no error
    virtual QString errorText() const = 0;

    // Closes what was open, then opens `path` and starts it without waiting. False, with
    // the error set, when it does not play.
    bool playFile(const QString& path);

    // Loads these files ahead so that opening them later is immediate.
    virtual void preload(const QStringList& paths) { (void)paths; }
};

// Qt Multimedia player; with silent it never plays: play reports success at once
// (test-run mode and tests). Both check the file on open.
std::unique_ptr<SoundPlayer> createSoundPlayer(bool silent);

// Whether the system offers any audio output now.
bool audioOutputAvailable();

// What open learns from a WAV file's header.
struct WavInfo
{
    int formatTag = 0; // 1 PCM, 3 float (an extensible header's sub-format)
    int channels = 0;
    int sampleRate = 0;
    int bitsPerSample = 0;
    int bytesPerSecond = 0;
    qint64 dataBytes = 0; // as far as the file really holds them
    qint64 dataOffset = 0;
    std::chrono::milliseconds duration{0};
};
// Reads the header of a WAV file; nothing when it is no playable WAV file.
std::optional<WavInfo> readWavInfo(const QString& path);

} // namespace gf

#pragma once

#include <QString>

namespace gf {

// Kinds of the program's message box; each selects a heading.
enum MsgKind : int
{
    mkAchtung = 0,
    mkFehlermeldung = 1,
    mkHinweis = 2,
    mkBitteBestaetigen = 3
};

// Button bits of the message box; combine with |.
namespace btn {
constexpr int Yes = 1 << 0;
constexpr int No = 1 << 1;
constexpr int OK = 1 << 2;
constexpr int Cancel = 1 << 3;
constexpr int Abort = 1 << 4;
constexpr int Retry = 1 << 5;
constexpr int Ignore = 1 << 6;
constexpr int All = 1 << 7;
constexpr int Help = 1 << 10;
constexpr int YesNo = Yes | No;                // 3
constexpr int YesNoCancel = Yes | No | Cancel; // 11
} // namespace btn

// Modal results shared by every window of the program.
enum ModalResult : int
{
    mrNone = 0,
    mrOk = 1,
    mrCancel = 2,
    mrAbort = 3,
    mrRetry = 4,
    mrIgnore = 5,
    mrBack = 5, // "&Zurück" in an introduction chain
    mrYes = 6,
    mrNo = 7,
};

// How the core reports to the person in front of it. The windows answer with the
// program's message box, the data tool with standard error.
class MessageSink
{
public:
    virtual ~MessageSink() = default;
    // A message with a kind; returns the modal result of the box.
    virtual int message(const QString& text, int kind, int buttons, int helpContext) = 0;
    // The platform's plain message window (no kind, one OK button).
    virtual void plainMessage(const QString& text) = 0;
};

} // namespace gf

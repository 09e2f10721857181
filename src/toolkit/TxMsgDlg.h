#pragma once

#include "core/data/MessageSink.h"

#include <QDialog>
#include <QList>
#include <QRect>
#include <QString>
#include <QStringList>
#include <functional>

class QFrame;
class QTextEdit;

namespace gf {

class TPushButton;

// Geometry of the message box, kept apart from the window so it can be checked
// without showing anything.
namespace msgbox {

constexpr int MaxChars = 1000000; // longer texts are cut
constexpr int DesignWidth = 400;  // width of a box whose lines are all empty
constexpr int TopHeight = 41;
constexpr int BottomHeight = 55;
constexpr int ButtonCount = 8;

// Lines of a message: "\n\r" ends a line, a lone "\n" is dropped, a lone "\r" stays.
QStringList splitLines(const QString& text);
// Heading of a message kind, with its leading blanks; empty for unknown kinds.
QString heading(int kind);
// Table positions (0 = Ja .. 7 = Ignorieren) of the buttons a buttons value shows.
QList<int> visibleButtons(int buttons);

struct Geometry
{
    QRect window;           // on the screen
    int buttonWidth = 0;    // every visible button
    QList<int> buttonLefts; // within the button bar, one per visible button
};

// Window and button geometry for a text whose widest line is widestLine pixels, with
// lineCount lines of lineHeight pixels ("XXX"), n visible buttons, on a screen.
Geometry layout(int widestLine, int lineHeight, int lineCount, int n, QSize screen);

} // namespace msgbox

// The program's message box. One instance per message (see xMessageDlg).
class TxMsgDlg final : public QDialog
{
    Q_OBJECT
public:
    explicit TxMsgDlg(QWidget* parent = nullptr);

    // Fills and places the box for one message on a screen of the given size.
    void prepare(const QString& text, int kind, int buttons, QSize screen);

    QFrame* pn_top;
    QTextEdit* Memo;
    QFrame* pn_bottom;
    TPushButton* bnYes;
    TPushButton* bnNo;
    TPushButton* bnOK;
    TPushButton* bnCancel;
    TPushButton* bnHelp;
    TPushButton* bnAbort;
    TPushButton* bnRetry;
    TPushButton* bnIgnore;

    TPushButton* button(int tableIndex) const;
    // Widens the buttons when a caption given after prepare() needs more room.
    void fitButtonsToCaptions();
    QString headingText() const;

public slots:
    void reject() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void placeMemo();
    int textHeight(int boxWidth) const;
    QList<int> m_buttonLefts;
    int m_buttonWidth = 130;
};

// Shows a message in the program's message box and returns the modal result
// (mrOk, mrCancel, mrYes, mrNo, ...). Escape answers mrCancel. helpContext is
// accepted for the callers' sake and not used.
int xMessageDlg(const QString& text, int kind, int buttons, int helpContext = 0);

// A failure with two answers: "&Wiederholen" (mrRetry, the default) and a second button
// with its own caption (mrIgnore; Escape too). Through the hook as Retry | Ignore.
int xRetryDlg(const QString& text, const QString& otherCaption);

// Asks for one line of text in the message box's large type and colours (see inputBox).
QString xInputBox(const QString& caption, const QString& prompt, const QString& def, bool* ok,
                  QWidget* parent = nullptr);

// While a hook is set, xMessageDlg calls it instead of showing a box and returns its
// answer. Returns the previous hook. An empty function removes the hook.
using MessageHook = std::function<int(const QString& text, int kind, int buttons)>;
MessageHook setMessageHook(MessageHook hook);

// Records every message shown during its lifetime and answers them: first from the
// queue of answers, then with the default answer (or the handler, when one is set).
// Restores the previous hook when it ends.
class ScopedMessageHook
{
public:
    struct Message
    {
        QString text;
        int kind;
        int buttons;
    };

    explicit ScopedMessageHook(int defaultAnswer = mrOk);
    ~ScopedMessageHook();
    ScopedMessageHook(const ScopedMessageHook&) = delete;
    ScopedMessageHook& operator=(const ScopedMessageHook&) = delete;

    // Queues the answer to the next message not yet answered.
    ScopedMessageHook& answer(int result);
    void setDefaultAnswer(int result) { m_default = result; }
    // Decides the answers itself (after the queue is used up).
    void setHandler(std::function<int(const Message&)> handler) { m_handler = std::move(handler); }

    const QList<Message>& messages() const { return m_messages; }
    int count() const { return int(m_messages.size()); }
    bool isEmpty() const { return m_messages.isEmpty(); }
    const Message& last() const { return m_messages.last(); }
    QStringList texts() const;
    void clear() { m_messages.clear(); }

private:
    int respond(const QString& text, int kind, int buttons);

    MessageHook m_previous;
    QList<Message> m_messages;
    QList<int> m_answers;
    int m_default;
    std::function<int(const Message&)> m_handler;
};

// Core messages shown by the windows: kinds through the program's message box,
// plain messages through the platform's plain message box.
class BoxMessageSink final : public MessageSink
{
public:
    int message(const QString& text, int kind, int buttons, int helpContext) override;
    void plainMessage(const QString& text) override;
};

} // namespace gf

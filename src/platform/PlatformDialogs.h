#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

class QDialog;

namespace gf {

// The platform's plain dialogs. Each can be answered by a hook instead of a real
// dialog, so tests never block on one. Without a hook on the offscreen platform
// (where nobody could answer) a dialog is not shown and counts as cancelled.

// A message window titled with the application title, one OK button.
void showPlainMessage(const QString& text, QWidget* parent = nullptr);

// Asks for one line of text. Cancelling returns def and sets *ok to false. `style` dresses
// the dialog before it is shown (the program's own look).
QString inputBox(const QString& caption, const QString& prompt, const QString& def,
                 bool* ok = nullptr, QWidget* parent = nullptr,
                 const std::function<void(QDialog&)>& style = {});

// The save dialog. proposed is a folder or a proposed file path; defaultSuffix
// (without dot) is appended to a name typed without one. Empty when cancelled.
QString saveFileName(QWidget* parent, const QString& caption, const QString& proposed,
                     const QString& filter, const QString& defaultSuffix);

struct InputBoxAnswer
{
    QString text;
    bool ok = false;
};

using PlainMessageHook = std::function<void(const QString& text)>;
using InputBoxHook = std::function<InputBoxAnswer(const QString& caption, const QString& prompt,
                                                  const QString& def)>;
using SaveFileNameHook =
    std::function<QString(const QString& caption, const QString& proposed, const QString& filter,
                          const QString& defaultSuffix)>;

// An empty function restores the real dialog.
void setPlainMessageHook(PlainMessageHook hook);
void setInputBoxHook(InputBoxHook hook);
void setSaveFileNameHook(SaveFileNameHook hook);

// For tests: answers every platform dialog from queues and records what was asked.
// Installs its hooks on construction and removes them on destruction. With an empty
// queue an input box or save dialog is cancelled.
class ScriptedDialogs
{
public:
    struct InputBoxCall
    {
        QString caption, prompt, def;
    };
    struct SaveCall
    {
        QString caption, proposed, filter, defaultSuffix;
    };

    ScriptedDialogs();
    ~ScriptedDialogs();
    ScriptedDialogs(const ScriptedDialogs&) = delete;
    ScriptedDialogs& operator=(const ScriptedDialogs&) = delete;

    QList<InputBoxAnswer> inputAnswers;
    QStringList saveAnswers;

    QStringList plainMessages;
    QList<InputBoxCall> inputCalls;
    QList<SaveCall> saveCalls;
};

} // namespace gf

#include "platform/PlatformDialogs.h"

#include "platform/AppTitle.h"

#include <QFileDialog>
#include <QGuiApplication>
#include <QInputDialog>
#include <QMessageBox>

namespace gf {

namespace {

PlainMessageHook g_plainMessageHook;
InputBoxHook g_inputBoxHook;
SaveFileNameHook g_saveFileNameHook;

// Nobody can answer a dialog on the offscreen platform; showing one would hang.
bool cannotShowDialogs(const char* what)
{
    if (QGuiApplication::platformName() != QLatin1String("offscreen"))
        return false;
    qWarning("gf: %s without an answer hook on the offscreen platform: not shown", what);
    return true;
}

} // namespace

void showPlainMessage(const QString& text, QWidget* parent)
{
    if (g_plainMessageHook) {
        g_plainMessageHook(text);
        return;
    }
    if (cannotShowDialogs("plain message"))
        return;
    QMessageBox box(QMessageBox::NoIcon, QString::fromLatin1(kApplicationTitle), text,
                    QMessageBox::Ok, parent);
    box.exec();
}

QString inputBox(const QString& caption, const QString& prompt, const QString& def, bool* ok,
                 QWidget* parent, const std::function<void(QDialog&)>& style)
{
    InputBoxAnswer answer{def, false};
    if (g_inputBoxHook) {
        answer = g_inputBoxHook(caption, prompt, def);
    } else if (!cannotShowDialogs("input box")) {
        QInputDialog dialog(parent);
        dialog.setWindowTitle(caption);
        dialog.setLabelText(prompt);
        dialog.setTextValue(def);
        dialog.setInputMode(QInputDialog::TextInput);
        if (style)
            style(dialog);
        answer.ok = dialog.exec() == QDialog::Accepted;
        if (answer.ok)
            answer.text = dialog.textValue();
    }
    if (ok)
        *ok = answer.ok;
    return answer.ok ? answer.text : def;
}

QString saveFileName(QWidget* parent, const QString& caption, const QString& proposed,
                     const QString& filter, const QString& defaultSuffix)
{
    if (g_saveFileNameHook)
        return g_saveFileNameHook(caption, proposed, filter, defaultSuffix);
    if (cannotShowDialogs("save dialog"))
        return QString();
    QFileDialog dialog(parent, caption, proposed, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(defaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

void setPlainMessageHook(PlainMessageHook hook)
{
    g_plainMessageHook = std::move(hook);
}

void setInputBoxHook(InputBoxHook hook)
{
    g_inputBoxHook = std::move(hook);
}

void setSaveFileNameHook(SaveFileNameHook hook)
{
    g_saveFileNameHook = std::move(hook);
}

ScriptedDialogs::ScriptedDialogs()
{
    setPlainMessageHook([this](const QString& text) { plainMessages.append(text); });
    setInputBoxHook([this](const QString& caption, const QString& prompt, const QString& def) {
        inputCalls.append({caption, prompt, def});
        return inputAnswers.isEmpty() ? InputBoxAnswer{def, false} : inputAnswers.takeFirst();
    });
    setSaveFileNameHook([this](const QString& caption, const QString& proposed,
                               const QString& filter, const QString& defaultSuffix) {
        saveCalls.append({caption, proposed, filter, defaultSuffix});
        return saveAnswers.isEmpty() ? QString() : saveAnswers.takeFirst();
    });
}

ScriptedDialogs::~ScriptedDialogs()
{
    setPlainMessageHook({});
    setInputBoxHook({});
    setSaveFileNameHook({});
}

} // namespace gf

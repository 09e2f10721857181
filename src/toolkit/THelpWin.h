#pragma once

#include "toolkit/TBaseDlg.h"

#include <QString>
#include <functional>

class QTextEdit;

namespace gf {

class TPushButton;

// File name of the help page of a dialog key ("hlp12.rtf", "stat.rtf"); empty for a
// key without a page.
QString helpPageFile(const QString& key);

// Opens the help page of a key modally; a key without a page opens nothing. A page
// that cannot be read is reported as an error and no window stays open.
void ShowHelpPage(AppContext& ctx, const QString& key);

// While a hook is set, ShowHelpPage hands it the full path of the page instead of
// opening the window. Returns the previous hook.
using HelpPageHook = std::function<void(const QString& path)>;
HelpPageHook setHelpPageHook(HelpPageHook hook);


// The help window: one page, read-only, filling the screen.
class THelpWin final : public TBaseDlg
{
    Q_OBJECT
public:
    explicit THelpWin(AppContext& ctx, QWidget* parent = nullptr);

    // The page shown next; loadPage() reads it.
    QString PageFile;

    // Reads PageFile into the viewer; false with errorString() when it cannot be read.
    bool loadPage();
    QString errorString() const { return m_error; }

    QTextEdit* RichEdit;
    TPushButton* OKBtn;

protected:
    void FormShow() override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QString m_error;
};

} // namespace gf

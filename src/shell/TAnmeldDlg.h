#pragma once

#include "shell/TOwnFenster.h"

#include <QString>
#include <functional>

class QFrame;
class QLabel;
class QListWidget;

namespace gf {

class TShellFolderTree;
class TSkinButton;
class TTuerDlg;

// The login dialog: choose the data folder, see its detectives, register, delete or
// open one. Ends with mrOk when a detective was opened (CurrentUser set), otherwise
// with mrCancel and the data folder it found on showing.
class TAnmeldDlg final : public TOwnFenster
{
    Q_OBJECT

public:
    explicit TAnmeldDlg(AppContext& ctx, QWidget* parent = nullptr);

    // Size of the panel that holds the contents; the window adds the frame around it.
    static constexpr int PanelWidth = 651;
    static constexpr int PanelHeight = 402;

    // The door screen whose AddUser and Opened the dialog uses; when none is set the
    // dialog keeps one of its own.
    TTuerDlg* TuerDlg = nullptr;

    // Receives UserName whenever the dialog closes ("-": nobody), for the main
    // window's UserLabel.
    std::function<void(const QString& userName)> onUserLabel;
    // The label text for a UserName.
    static QString userLabelText(const QString& userName);

    // The data folder that was current when the dialog was shown last.
    QString notedDataDir() const { return m_notedDataDir; }

    QFrame* ppp;
    QLabel* NL1;
    TShellFolderTree* ShellTree;
    TSkinButton* Benutzerbutton;
    QLabel* NL2;
    QListWidget* BenutzerListbox;
    TSkinButton* NeuUserButton;
    TSkinButton* RenameButton;
    TSkinButton* okbutton;
    TSkinButton* abbrechenbutton;

public slots:
    void reject() override;
    void done(int result) override;

protected:
    void FormShow() override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void ShellTreeChange(const QString& path);
    void fillList();
    void OkButtonClick();
    void NeuUserButtonClick();
    void BenutzerbuttonClick();
    void RenameButtonClick();
    bool folderWritable() const;
    TTuerDlg& tuer();

    QString m_notedDataDir;
    bool m_notedReadOnly = false;
    QString m_notedUserName;
    bool m_hasPath = false; // the selected node is a folder, not the node without path
    TTuerDlg* m_ownTuer = nullptr;
};

} // namespace gf

#pragma once

#include "toolkit/TBaseDlg.h"

#include <QDate>

class QLabel;
class QLineEdit;

namespace gf {

class TPushButton;
class TRadioGroup;

// "Daten exportieren": the detective's stored and unsaved results as a tab-separated
// text file, word and picture search or telephone and memo protocol, optionally
// limited to a period.
class TExportDlg final : public TBaseDlg
{
    Q_OBJECT

public:
    explicit TExportDlg(AppContext& ctx, QWidget* parent = nullptr);

    TRadioGroup* Group;
    TRadioGroup* StatGroup;
    QLabel* FromLbl;
    QLineEdit* StartEdit;
    QLabel* FromDLbl;
    QLabel* ToLbl;
    QLineEdit* EndEdit;
    QLabel* ToDLbl;
    QLineEdit* FileEdit; // never shown
    TPushButton* HelpBtn;
    TPushButton* OKBtn;
    TPushButton* FileNameBtn;

    bool UseFrom = false;
    bool UseTo = false;
    QDate FromDate;
    QDate ToDate;

    void GroupClick();
    void FileNameBtnClick();
    // Checks the dates and the file name, then writes the file. False when it stopped
    // or the export failed (the reason has been shown).
    bool RunExport();

    // The file name the save dialog proposes: the detective's name + ".exp" in the
    // data folder.
    QString proposedFileName() const;

protected:
    void FormShow() override;

private:
    // Parses the date rows that are shown; on a bad date the focus goes to its field,
    // the message is shown and the result is false.
    bool readDates();
};

} // namespace gf

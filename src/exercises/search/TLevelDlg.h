#pragma once

#include "toolkit/TBaseDlg.h"

#include <QList>

class QLabel;

namespace gf {

class TPushButton;
class TRadioGroup;

// Common ground of the two task-count dialogs: a question, three counts to choose
// from (a fourth of 2 in the test-run mode), and "Hilfe", "Zurück", "Weiter".
class TCountDlg : public TBaseDlg
{
    Q_OBJECT
public:
    // The chosen number of tasks, valid after the dialog closed with mrOk.
    quint16 Count = 0;

    QLabel* Label;
    TRadioGroup* Group;
    TPushButton* HelpBtn;
    TPushButton* BackBtn;
    TPushButton* OKBtn;

    // Counts of the options shown at the next showing, in order.
    QList<quint16> counts() const;

protected:
    TCountDlg(AppContext& ctx, const QList<quint16>& counts, bool centredLabel, QWidget* parent);
    void FormShow() override;
    virtual void back() = 0;

private:
    void confirm();
    QList<quint16> m_counts;
};

// How many telephone or memo-protocol tasks: 10, 20 or 30. "Zurück" cancels.
class TLevelDlg final : public TCountDlg
{
    Q_OBJECT
public:
    explicit TLevelDlg(AppContext& ctx, QWidget* parent = nullptr);

public slots:
    void reject() override;

protected:
    void back() override;
};

} // namespace gf

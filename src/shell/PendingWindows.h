#pragma once

#include <QDialog>

namespace gf {

// Windows of work areas that are not built yet. Each exists as its own class so the
// start-up creates every window in its fixed order; none of them claims to work.
class TPendingDlg : public QDialog
{
public:
    explicit TPendingDlg(const QString& caption, QWidget* parent) : QDialog(parent)
    {
        setWindowTitle(caption);
    }
};

#define GF_PENDING_WINDOW(Class, Caption)                                                         \
    class Class final : public TPendingDlg                                                       \
    {                                                                                            \
    public:                                                                                      \
        explicit Class(QWidget* parent) : TPendingDlg(QStringLiteral(Caption), parent) {}        \
    };

GF_PENDING_WINDOW(TMemoDlg, "Memo")
GF_PENDING_WINDOW(TBmpTastDlg, "Memo-Protokoll")
GF_PENDING_WINDOW(TTipDlg, "Tipp")


#undef GF_PENDING_WINDOW

} // namespace gf

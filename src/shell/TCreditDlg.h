#pragma once

#include "shell/TPictureScreen.h"

#include <QList>
#include <QString>

class QLabel;

namespace gf {

// Names of the closing screen's rows, from the installation's "credits.txt" (lines
// "Role:<TAB>Name"). Rows without a name in the file show DefaultName; the second
// speaker's row stays empty without a second speaker.
struct CreditNames
{
    static inline const QString DefaultName = QStringLiteral("Grips-Fix-Team");

    QString idea, programming, music, speaker, speaker2, drawings, design;

    static CreditNames fromText(const QString& text);
    static CreditNames fromInstallation(const QString& installDir); // + "credits.txt", if present
};

// The closing screen: thanks, contributors and the logo, for five seconds or until a
// click.
class TCreditDlg final : public TPictureScreen
{
    Q_OBJECT
public:
    explicit TCreditDlg(AppContext& ctx, QWidget* parent = nullptr);

    QLabel* Label1;
    // role labels Label2 .. Label8 and their name labels Label2a .. Label8a
    QList<QLabel*> Roles;
    QList<QLabel*> Names;

protected:
    void FormShow() override;
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace gf

#include "exercises/sequence/TTeleInfoDlg.h"

namespace gf {

const QStringList& TTeleInfoDlg::Lines()
{
    static const QStringList lines = {
        QStringLiteral("In dieser Aufgabe erhalten Sie "),
        QStringLiteral("Rufnummern über eine Auskunft."),
        QString(),
        QStringLiteral("Sie stellen die Verbindung zu den"),
        QStringLiteral("Mitarbeitern des Detektivs her."),
        QString(),
        QStringLiteral("Rufnummern bitte merken + wählen!"),
        QString(),
        QStringLiteral("Die Länge der Rufnummern wächst,"),
        QStringLiteral("wenn Sie richtig wählen!"),
        QString(),
        QString(),
    };
    return lines;
}

TTeleInfoDlg::TTeleInfoDlg(AppContext& ctx, QWidget* parent)
    : TSeqInfoDlg(ctx, parent, QStringLiteral("TeleInfoDlg"), Lines())
{
    setWindowTitle(QStringLiteral("Telefonvermittlung"));
    Memo1 = Text;
}

} // namespace gf

#include "exercises/sequence/TSndBmpInfDlg.h"

namespace gf {

const QStringList& TSndBmpInfDlg::Lines()
{
    static const QStringList lines = {
        QStringLiteral("Auf einem Bauernhof üben Musiker "),
        QStringLiteral("für ihr nächstes Konzert."),
        QString(),
        QStringLiteral("Eines Abends schleicht ein Unbekannter "),
        QStringLiteral("um den Bauernhof."),
        QString(),
        QStringLiteral("Sie sind der einzige Zeuge!"),
        QString(),
        QStringLiteral("Merken Sie sich bitte genau "),
        QStringLiteral("die Reihenfolge der Ereignisse!"),
        QString(),
        QStringLiteral("Die Aufklärung dieses Falles hängt von Ihnen ab!"),
    };
    return lines;
}

TSndBmpInfDlg::TSndBmpInfDlg(AppContext& ctx, QWidget* parent)
    : TSeqInfoDlg(ctx, parent, QStringLiteral("SndBmpInfDlg"), Lines())
{
    setWindowTitle(QStringLiteral("Grips-Fix: Einleitung"));
    xMemo = Text;
}

void TSndBmpInfDlg::FormShow()
{
    setWindowTitle(QStringLiteral("Grips-Fix: Einleitung"));
    TSeqInfoDlg::FormShow();
}

} // namespace gf

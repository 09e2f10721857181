#include "shell/TCreditDlg.h"

#include "platform/MediaFiles.h"
#include "toolkit/AppContext.h"
#include "toolkit/Look.h"
#include "toolkit/TImage.h"

#include <QEvent>
#include <QFile>
#include <QLabel>
#include <QMouseEvent>

namespace gf {

using namespace std::chrono_literals;

namespace {

QString roleKey(QString role)
{
    role = role.trimmed();
    if (role.endsWith(u':'))
        role.chop(1);
    return role.trimmed().toLower();
}

} // namespace

CreditNames CreditNames::fromText(const QString& text)
{
    CreditNames n;
    const QStringList lines = text.split(u'\n');
    for (const QString& raw : lines) {
        const qsizetype tab = raw.indexOf(u'\t');
        if (tab < 0)
            continue;
        const QString role = roleKey(raw.left(tab));
        const QString name = raw.mid(tab + 1).trimmed();
        if (name.isEmpty())
            continue;
        const auto take = [&](QString& slot) {
            if (slot.isEmpty())
                slot = name;
        };
        if (role == u"idee und herausgeber")
            take(n.idea);
        else if (role == u"programmierung")
            take(n.programming);
        else if (role == u"musik")
            take(n.music);
        else if (role == u"sprecher" || role == u"sprecherin")
            take(n.speaker.isEmpty() ? n.speaker : n.speaker2);
        else if (role == u"zeichnungen")
            take(n.drawings);
        else if (role == u"programmdesign")
            take(n.design);
    }
    for (QString* slot : {&n.idea, &n.programming, &n.music, &n.speaker, &n.drawings, &n.design})
        if (slot->isEmpty())
            *slot = DefaultName;
    return n;
}

CreditNames CreditNames::fromInstallation(const QString& installDir)
{
    const QString path =
        resolveMediaFile(installDir, QStringLiteral("credits.txt"));
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly))
        return fromText(QString());
    return fromText(QString::fromUtf8(file.readAll()));
}

TCreditDlg::TCreditDlg(AppContext& ctx, QWidget* parent) : TPictureScreen(ctx, 5000ms, parent)
{
    Label1 = new QLabel(QStringLiteral("Herzlichen Dank für Ihre Mitarbeit!"), this);
    Label1->setFont(look::arial(37, true, true));
    Label1->setAlignment(Qt::AlignCenter);
    look::setTextColour(Label1, Qt::white);
    Label1->setGeometry(25, 40, 750, 48);

    static const char* const roles[] = {
        "Idee und Herausgeber:", "Programmierung:", "Musik:", "Sprecher:", "",
        "Zeichnungen:",          "Programmdesign:"};
    for (const char* role : roles) {
        auto* r = new QLabel(QString::fromUtf8(role), this);
        r->setFont(look::arial(21));
        look::setTextColour(r, look::silver());
        r->setGeometry(69, 0, 230, 28);
        auto* n = new QLabel(this);
        n->setFont(look::arial(21, true));
        look::setTextColour(n, Qt::white);
        n->setGeometry(304, 0, 460, 28);
        Roles.append(r);
        Names.append(n);
    }
    Roles[6]->hide(); // the design row is not shown
    Names[6]->hide();

    for (QWidget* w : {static_cast<QWidget*>(Label1), static_cast<QWidget*>(Image),
                       static_cast<QWidget*>(Image1)})
        w->installEventFilter(this);
    for (int i = 0; i < Roles.size(); ++i) {
        Roles[i]->installEventFilter(this);
        Names[i]->installEventFilter(this);
    }
}

void TCreditDlg::FormShow()
{
    const AppContext& ctx = this->ctx();
    showPictures(QStringLiteral("credits.bmp"), QStringLiteral("logo.bmp"),
                 ctx.ScreenHeight / 8 * 7);

    const CreditNames names = CreditNames::fromInstallation(ctx.paths.InstallDir);
    const QString values[] = {names.idea,     names.programming, names.music, names.speaker,
                              names.speaker2, names.drawings,    names.design};
    for (int i = 0; i < Names.size(); ++i)
        Names[i]->setText(values[i]);

    // rows d apart, the speaker's row in the middle of the screen
    const int d = ctx.ScreenHeight / 15;
    Label1->move((width() - Label1->width()) / 2, d);
    const int speakerRow = 3;
    Roles[speakerRow]->move(Roles[speakerRow]->x(),
                            (ctx.ScreenHeight - Roles[speakerRow]->height()) / 2);
    for (int i = speakerRow - 1; i >= 0; --i)
        Roles[i]->move(Roles[i]->x(), Roles[i + 1]->y() - d);
    for (int i = speakerRow + 1; i < Roles.size(); ++i)
        Roles[i]->move(Roles[i]->x(), Roles[i - 1]->y() + d);
    for (int i = 0; i < Roles.size(); ++i)
        Names[i]->move(Names[i]->x(), Roles[i]->y());

    startTimer();
}

bool TCreditDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        finish();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace gf

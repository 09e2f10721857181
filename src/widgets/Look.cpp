#include "widgets/Look.h"

#include <QFontDatabase>
#include <QPalette>
#include <QWidget>

namespace gf::look {

QFont font(const QString& family, int pixelSize, bool bold, bool italic)
{
    QFont f(family);
    f.setPixelSize(pixelSize > 0 ? pixelSize : 1);
    f.setBold(bold);
    f.setItalic(italic);
    return f;
}

void setBackground(QWidget* widget, const QColor& colour)
{
    QPalette pal = widget->palette();
    pal.setColor(QPalette::Window, colour);
    widget->setPalette(pal);
    widget->setAutoFillBackground(true);
}

void setTextColour(QWidget* widget, const QColor& colour)
{
    QPalette pal = widget->palette();
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        pal.setColor(role, colour);
    widget->setPalette(pal);
}

void registerFontSubstitutes()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    const QStringList installed = QFontDatabase::families();
    const auto map = [&](const QString& family, const QStringList& candidates) {
        if (installed.contains(family, Qt::CaseInsensitive))
            return;
        for (const QString& c : candidates) {
            if (installed.contains(c, Qt::CaseInsensitive)) {
                QFont::insertSubstitution(family, c);
                return;
            }
        }
    };
    map(Arial, {QStringLiteral("Liberation Sans"), QStringLiteral("Arimo")});
    map(ComicSans, {QStringLiteral("Comic Neue"), QStringLiteral("Comic Relief")});
    map(CourierNew, {QStringLiteral("Liberation Mono"), QStringLiteral("Cousine")});
}

} // namespace gf::look

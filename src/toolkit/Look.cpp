#include "toolkit/Look.h"

#include "toolkit/TSkinButton.h"

#include <QAbstractButton>
#include <QLabel>
#include <QPainter>
#include <QPalette>
#include <QTextDocument>
#include <QTextEdit>
#include <QWidget>
#include <cmath>

namespace gf::look {

namespace {
Appearance g_appearance;

// A text's full size, before fitTexts made it smaller.
const char* const FullFont = "gfFullFont";
const char* const FittedFont = "gfFittedFont";

bool fits(const QWidget* w, const QFont& f)
{
    const QFontMetrics fm(f);
    if (const auto* label = qobject_cast<const QLabel*>(w)) {
        if (label->text().isEmpty() || label->textFormat() == Qt::RichText ||
            label->pixmap().cacheKey() != 0)
            return true;
        const QRect area = label->contentsRect().adjusted(label->margin(), label->margin(),
                                                          -label->margin(), -label->margin());
        const int flags = label->wordWrap() ? Qt::TextWordWrap : 0;
        const QRect need = fm.boundingRect(area, int(label->alignment()) | flags, label->text());
        return area.contains(need) || (need.width() <= area.width() && need.height() <= area.height());
    }
    if (const auto* b = qobject_cast<const QAbstractButton*>(w)) {
        QString text = b->text();
        text.remove(QLatin1Char('&'));
        if (text.isEmpty())
            return true;
        // the margins the buttons paint their text within; room for the mark of a radio item
        const bool skinned = TSkinButton::isSkinned(b);
        const int extra = b->inherits("QRadioButton") ? fm.height() + 12 : skinned ? 12 : 8;
        const QRect area(0, 0, b->width() - extra, b->height() - (skinned ? 4 : 0));
        const QRect need = fm.boundingRect(area, Qt::AlignCenter | (skinned ? Qt::TextWordWrap : 0), text);
        return need.width() <= area.width() && need.height() <= area.height();
    }
    return true;
}
// A text with no scroll bar shrinks until all of it shows.
void fitTextEdit(QTextEdit* te)
{
    const QVariant fitted = te->property(FittedFont);
    if (!fitted.isValid() || fitted.value<QFont>() != te->font())
        te->setProperty(FullFont, te->font());
    QFont f = te->property(FullFont).value<QFont>();
    QTextDocument* doc = te->document();
    const QRect room = te->contentsRect();
    for (; f.pixelSize() > 8; f.setPixelSize(f.pixelSize() - 1)) {
        te->setFont(f);
        doc->setTextWidth(room.width() - 2 * doc->documentMargin());
        if (doc->size().height() <= room.height())
            break;
    }
    te->setProperty(FittedFont, te->font());
}
} // namespace

Appearance appearance()
{
    return g_appearance;
}

void setAppearance(const Appearance& a)
{
    g_appearance = a;
    if (g_appearance.textPercent != 125 && g_appearance.textPercent != 150)
        g_appearance.textPercent = 100;
}

bool lowVision()
{
    return g_appearance.lowVision;
}

double textScale()
{
    return g_appearance.lowVision ? g_appearance.textPercent / 100.0 : 1.0;
}

double contrast(const QColor& a, const QColor& b)
{
    auto lum = [](const QColor& c) {
        auto lin = [](double s) {
            return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * lin(c.redF()) + 0.7152 * lin(c.greenF()) + 0.0722 * lin(c.blueF());
    };
    const double la = lum(a), lb = lum(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

void fitTexts(QWidget* root)
{
    if (!lowVision())
        return;
    QList<QWidget*> all = root->findChildren<QWidget*>();
    all.prepend(root);
    for (QWidget* w : all) {
        if (auto* te = qobject_cast<QTextEdit*>(w);
            te && te->verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOff) {
            fitTextEdit(te);
            continue;
        }
        // the options of a group are laid out by their group, which may not have done so yet
        if ((!qobject_cast<QLabel*>(w) && !qobject_cast<QAbstractButton*>(w)) ||
            (w->parentWidget() && w->parentWidget()->property("gfRadioGroup").toBool()))
            continue;
        // A font set since the last fit (the screen's adaptation) is the new full size.
        const QVariant fitted = w->property(FittedFont);
        if (!fitted.isValid() || fitted.value<QFont>() != w->font())
            w->setProperty(FullFont, w->font());
        QFont f = w->property(FullFont).value<QFont>();
        if (f.pixelSize() <= 0)
            continue;
        while (f.pixelSize() > 8 && !fits(w, f))
            f.setPixelSize(f.pixelSize() - 1);
        if (f != w->font())
            w->setFont(f);
        w->setProperty(FittedFont, w->font());
    }
}

void drawFocusFrame(QPainter& p, const QRect& rect)
{
    p.save();
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::black, 3));
    p.drawRect(QRectF(rect).adjusted(1.5, 1.5, -1.5, -1.5));
    p.setPen(QPen(QColor(255, 215, 0), 2));
    p.drawRect(QRectF(rect).adjusted(4, 4, -4, -4));
    p.restore();
}

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

void setEditColours(QWidget* edit)
{
    QPalette pal = edit->palette();
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        pal.setColor(group, QPalette::Base, Qt::white);
        pal.setColor(group, QPalette::Text, Qt::black);
        pal.setColor(group, QPalette::PlaceholderText, QColor(110, 110, 110));
    }
    edit->setPalette(pal);
}

} // namespace gf::look


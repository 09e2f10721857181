#include "toolkit/WindowScaling.h"

#include "toolkit/Look.h"
#include "toolkit/TSkinButton.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextEdit>
#include <QWidget>
#include <cmath>

namespace gf {

namespace {

int scaled(int value, double factor, double axis)
{
    return static_cast<int>(std::lround(double(value) * factor * axis));
}

// Only fonts that a control set itself are scaled: an inherited font has already
// been scaled with its parent.
void scaleOwnFont(QWidget* w, double fontFactor, double x)
{
    if (!w->testAttribute(Qt::WA_SetFont))
        return;
    QFont f = w->font();
    fontFactor *= look::textScale();
    if (f.pixelSize() > 0)
        f.setPixelSize(std::max(1, scaled(f.pixelSize(), fontFactor, x)));
    else if (f.pointSizeF() > 0)
        f.setPointSizeF(std::max(1.0, f.pointSizeF() * fontFactor * x));
    w->setFont(f);
}

bool isSkinned(const QWidget* w)
{
    return TSkinButton::isSkinned(w);
}

bool isRadioGroup(const QWidget* w)
{
    return w->property("gfRadioGroup").toBool();
}

} // namespace

ScaleFactors computeScaleFactors(int screenWidth, int screenHeight, int designWidth,
                                 int designHeight, int xxxWidth)
{
    ScaleFactors f;
    f.font = xxxWidth > 0 ? 26.8 / double(xxxWidth) : 1.0;
    f.x = screenWidth != designWidth && designWidth > 0 ? double(screenWidth) / designWidth : 1.0;
    f.y = screenHeight != designHeight && designHeight > 0 ? double(screenHeight) / designHeight
                                                             : 1.0;
    return f;
}

void ScaleControl(QWidget* c, double ff, double x, double y)
{
    if (isSkinned(c) || qobject_cast<QAbstractScrollArea*>(c)) {
        // These keep the design's size and their font; the low-vision look enlarges
        // their text alone.
        if (look::lowVision() && c->testAttribute(Qt::WA_SetFont))
            scaleOwnFont(c, 1.0, 1.0);
        if (isSkinned(c))
            return;
    }
    const QRect r = c->geometry();
    const QRect bounds(scaled(r.left(), ff, x), scaled(r.top(), ff, y), scaled(r.width(), ff, x),
                       scaled(r.height(), ff, y));
    c->setGeometry(bounds);

    const auto children = c->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
    if (isRadioGroup(c)) {
        scaleOwnFont(c, ff, x);
        return;
    }
    if (qobject_cast<QGroupBox*>(c)) {
        for (QWidget* child : children)
            ScaleControl(child, ff, x, y);
        return;
    }
    if (qobject_cast<QLabel*>(c) || qobject_cast<QLineEdit*>(c) ||
        qobject_cast<QTextEdit*>(c) || qobject_cast<QPlainTextEdit*>(c) ||
        qobject_cast<QPushButton*>(c)) {
        scaleOwnFont(c, ff, x);
        return;
    }
    // A plain panel: its font, then its bounds again (a font change may re-lay it
    // out), then its children.
    const bool panel = (qobject_cast<QFrame*>(c) && !qobject_cast<QAbstractScrollArea*>(c)) ||
                       c->metaObject() == &QWidget::staticMetaObject ||
                       c->property("gfPanel").toBool();
    if (panel) {
        scaleOwnFont(c, ff, x);
        c->setGeometry(bounds);
        for (QWidget* child : children)
            ScaleControl(child, ff, x, y);
    }
}

void adaptWindow(QWidget* window, const ScaleFactors& f, int screenWidth, int screenHeight)
{
    const auto children = window->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
    const QSize design = window->size();
    window->setGeometry(0, 0, screenWidth, screenHeight);
    scaleOwnFont(window, f.font, f.x);
    for (QWidget* child : children) {
        if (child->isWindow())
            continue;
        const QRect before = child->geometry();
        ScaleControl(child, f.font, f.x, f.y);
        // A font factor below 1 would leave a strip between a background or status bar
        // and the window's edge: what reached an edge keeps reaching it.
        QRect after = child->geometry();
        if (before.right() >= design.width() - 1)
            after.setRight(screenWidth - 1);
        if (before.bottom() >= design.height() - 1)
            after.setBottom(screenHeight - 1);
        child->setGeometry(after);
    }
}

} // namespace gf

#include "toolkit/Accessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QWidget>

namespace gf::access {

namespace {

class Presser final : public QObject
{
public:
    Presser(QWidget* parent, std::function<void()> press)
        : QObject(parent), m_press(std::move(press))
    {
        setObjectName(QStringLiteral("gfPresser"));
    }
    void press() const
    {
        if (m_press)
            m_press();
    }

private:
    std::function<void()> m_press;
};

Presser* presserOf(QObject* o)
{
    return o ? o->findChild<Presser*>(QStringLiteral("gfPresser"), Qt::FindDirectChildrenOnly)
             : nullptr;
}

class AccessibleButton final : public QAccessibleWidget
{
public:
    explicit AccessibleButton(QWidget* w) : QAccessibleWidget(w, QAccessible::Button) {}
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& action) override
    {
        if (action == pressAction() && widget()->isEnabled())
            if (Presser* p = presserOf(widget()))
                p->press();
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }
};

QAccessibleInterface* factory(const QString&, QObject* object)
{
    if (auto* w = qobject_cast<QWidget*>(object); w && presserOf(w))
        return new AccessibleButton(w);
    return nullptr;
}

} // namespace

void makeButton(QWidget* w, const QString& name, std::function<void()> press)
{
    static const bool installed = [] {
        QAccessible::installFactory(factory);
        return true;
    }();
    Q_UNUSED(installed);
    new Presser(w, std::move(press));
    w->setAccessibleName(name);
}

void announce(QWidget* w, const QString& text)
{
    if (w->accessibleName() == text)
        return;
    w->setAccessibleName(text); // sends the name-changed event a reader follows
}

} // namespace gf::access

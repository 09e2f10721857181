#include "toolkit/Accessibility.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QRadioButton>
#include <QAccessibleWidget>
#include <QPointer>
#include <QTimer>
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
    explicit AccessibleButton(QWidget* w)
        : QAccessibleWidget(w, qobject_cast<QRadioButton*>(w) ? QAccessible::RadioButton
                                                              : QAccessible::Button)
    {
    }
    QString text(QAccessible::Text t) const override
    {
        QString s = QAccessibleWidget::text(t);
        if (t == QAccessible::Name && s.isEmpty())
            if (auto* b = qobject_cast<QAbstractButton*>(widget()))
                s = b->text().remove(QLatin1Char('&'));
        return s;
    }
    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        if (auto* b = qobject_cast<QAbstractButton*>(widget()); b && b->isCheckable()) {
            s.checkable = true;
            s.checked = b->isChecked();
        }
        return s;
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& action) override
    {
        // A press may open a modal window; the reader's call returns first.
        if (action == pressAction() && widget()->isEnabled())
            if (QPointer<Presser> p = presserOf(widget()))
                QTimer::singleShot(0, p, [p] { p->press(); });
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
    if (!name.isEmpty())
        w->setAccessibleName(name);
}

void announce(QWidget* w, const QString& text)
{
    if (w->accessibleName() == text)
        return;
    w->setAccessibleName(text); // sends the name-changed event a reader follows
}

} // namespace gf::access

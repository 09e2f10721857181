#pragma once

#include "core/data/MessageSink.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QList>
#include <QSet>
#include <QTest>
#include <QTimer>
#include <functional>
#include <type_traits>

namespace gf::test {

// Shows a dialog modally; act runs once it is open. Returns the modal result, or -1
// when act never ran.
inline int runModal(QDialog& dlg, const std::function<void()>& act)
{
    bool acted = false;
    QTimer::singleShot(0, [&] {
        if (QApplication::activeModalWidget() != &dlg)
            return;
        acted = true;
        act();
    });
    const int result = dlg.exec();
    return acted ? result : -1;
}

// Keys as a trainee types them: each goes to the widget that has the keyboard focus at
// that moment, so a key that walks the focus elsewhere shows in what the next key does.
inline void typeKeys(const QList<int>& keys)
{
    for (int k : keys) {
        QVERIFY2(QTest::qWaitFor([] { return QApplication::focusWidget() != nullptr; }, 2000),
                 "no widget has the keyboard focus");
        QWidget* w = QApplication::focusWidget();
        QTest::keyClick(w, Qt::Key(k));
    }
}

// Plays a person through a run of modal windows: every few milliseconds the active modal
// window goes to the reactions registered for its class, the latest first; one returning
// false passes the window on to the earlier ones. A window is left alone while its own
// reaction runs; a window opened from within that reaction is answered by the second
// timer, as a timer does not fire again while its handler runs. A run that takes a minute
// fails the test and is cancelled, so that it cannot hang the test run.
class ModalPlayer : public QObject
{
public:
    ModalPlayer()
    {
        for (QTimer* timer : {&m_timer, &m_nested}) {
            connect(timer, &QTimer::timeout, this, &ModalPlayer::look);
            timer->start(2);
        }
        m_since.start();
    }

    template <typename W, typename F> ModalPlayer& on(F react)
    {
        m_reactions.prepend([react](QWidget* w) {
            W* win = qobject_cast<W*>(w);
            if (!win)
                return false;
            if constexpr (std::is_same_v<std::invoke_result_t<F, W&>, bool>) {
                return react(*win);
            } else {
                react(*win);
                return true;
            }
        });
        return *this;
    }

    // A key goes where a trainee's would: to the widget of `w` that has the focus.
    // Underlined letters of buttons answer only in the active window, and the button
    // shows itself pressed for a moment before it acts.
    static void key(QWidget* w, int k, Qt::KeyboardModifiers m = Qt::NoModifier)
    {
        w->activateWindow();
        QVERIFY(QTest::qWaitFor([w] { return QApplication::activeWindow() == w; }));
        QWidget* target = QApplication::focusWidget();
        if (!target || target->window() != w)
            target = w;
        QTest::keyClick(target, Qt::Key(k), m);
        if (m & Qt::AltModifier)
            QTest::qWait(150);
    }

protected:
    // Every look at a window, before its reactions.
    virtual void looked(QWidget*) {}

private:
    void look()
    {
        QWidget* w = QApplication::activeModalWidget();
        if (!w || m_busy.contains(w))
            return;
        if (m_since.hasExpired(60000)) {
            QTest::qFail(qPrintable(QString("stuck in ") + w->metaObject()->className()), __FILE__,
                         __LINE__);
            static_cast<QDialog*>(w)->done(mrCancel);
            return;
        }
        m_busy.insert(w);
        looked(w);
        for (const auto& react : std::as_const(m_reactions))
            if (react(w))
                break;
        m_busy.remove(w);
    }

    QList<std::function<bool(QWidget*)>> m_reactions;
    QTimer m_timer;
    QTimer m_nested;
    QElapsedTimer m_since;
    QSet<QWidget*> m_busy;
};

} // namespace gf::test

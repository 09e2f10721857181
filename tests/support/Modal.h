#pragma once

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <functional>

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

} // namespace gf::test

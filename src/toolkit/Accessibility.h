#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace gf::access {

// Shows `w` to assistive technology as a push button (a radio button for one) named
// `name` (a button's text when empty) whose press action calls `press` (doors, telephone
// keys, options: controls drawn by the program itself).
void makeButton(QWidget* w, const QString& name, std::function<void()> press);

// Gives `w` the name `text` and tells a screen reader that it changed, so a display
// whose digits come and go is read as it changes.
void announce(QWidget* w, const QString& text);

} // namespace gf::access

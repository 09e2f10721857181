#pragma once

#include <QSize>

namespace gf {

// Size in pixels and colour depth in bits per pixel of the primary screen.
QSize primaryScreenSize();
int colorDepth();

// Lets tests pretend another screen; an invalid size or depth 0 undoes it.
void setScreenForTests(QSize size, int depth);

} // namespace gf

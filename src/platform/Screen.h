#pragma once

#include <QSize>

namespace gf {

// Size in pixels and colour depth in bits per pixel of the primary screen.
QSize ScreenSize();
int ColorDepth();

// Lets tests pretend another screen; an invalid size or depth 0 undoes it.
void SetScreenForTests(QSize size, int depth);

} // namespace gf

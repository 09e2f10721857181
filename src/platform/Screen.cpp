#include "platform/Screen.h"

#include <QGuiApplication>
#include <QScreen>

namespace gf {

namespace {
QSize g_sizeForTests;
int g_depthForTests = 0;
} // namespace

QSize primaryScreenSize()
{
    if (g_sizeForTests.isValid())
        return g_sizeForTests;
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->size() : QSize();
}

int colorDepth()
{
    if (g_depthForTests > 0)
        return g_depthForTests;
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->depth() : 0;
}

void setScreenForTests(QSize size, int depth)
{
    g_sizeForTests = size;
    g_depthForTests = depth;
}

} // namespace gf

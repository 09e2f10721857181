#pragma once

#include <QColor>
#include <QFont>
#include <QString>

class QWidget;

namespace gf::look {

// The look a trainee with low vision can choose: strong contrast and larger text. It is
// decided before the windows are made; off, every window looks as designed.
struct Appearance
{
    bool lowVision = false;
    int textPercent = 100; // 100, 125 or 150; only in the low-vision look
};
Appearance appearance();
void setAppearance(const Appearance& a);
bool lowVision();
// What every font is multiplied by on top of the screen's adaptation.
double textScale();
// The designed colour, or the strong one of the low-vision look.
inline QColor pick(const QColor& designed, const QColor& strong)
{
    return lowVision() ? strong : designed;
}
// Contrast ratio of two colours as for web text, 1 to 21.
double contrast(const QColor& a, const QColor& b);
// Low-vision look: shrinks the text of the labels and buttons under root that would be
// cut off, back towards their full size when their text gets shorter again.
void fitTexts(QWidget* root);
// Low-vision look: the frame a control with the keyboard focus draws inside rect.
void drawFocusFrame(class QPainter& p, const QRect& rect);

// The program's colours.
inline QColor background()
{
    return QColor(31, 73, 116);
}
inline QColor statusBar()
{
    return QColor(42, 101, 154);
}
inline QColor buttonFace()
{
    return QColor(205, 224, 241);
}
inline QColor silver()
{
    return QColor(192, 192, 192);
}
inline QColor text()
{
    return QColor(Qt::white);
}

constexpr int StatusBarHeight = 40;
constexpr int ButtonWidth = 130;
constexpr int ButtonHeight = 30;
// Gap between neighbouring status-bar buttons and between a button and the bar's edge.
constexpr int StatusGap = 50;

// Family names the windows ask for; the platform layer maps them to installed faces.
inline const QString Arial = QStringLiteral("Arial");
inline const QString ComicSans = QStringLiteral("Comic Sans MS");
inline const QString CourierNew = QStringLiteral("Courier New");

// Fonts always carry a pixel size: the screen adaptation scales pixel sizes.
QFont font(const QString& family, int pixelSize, bool bold = false, bool italic = false);
inline QFont arial(int px, bool bold = false, bool italic = false)
{
    return font(Arial, px, bold, italic);
}
inline QFont comic(int px, bool bold = false, bool italic = false)
{
    return font(ComicSans, px, bold, italic);
}
inline QFont courier(int px, bool bold = false, bool italic = false)
{
    return font(CourierNew, px, bold, italic);
}

// Solid background (auto-filled) in the given colour.
void setBackground(QWidget* widget, const QColor& colour);
// Text colour of a widget (WindowText, Text and ButtonText roles).
void setTextColour(QWidget* widget, const QColor& colour);
// Black text on a white field, whatever text colour the window gives its children, so
// that what is typed stays readable; the hint of an empty field in a mid grey.
void setEditColours(QWidget* edit);

} // namespace gf::look

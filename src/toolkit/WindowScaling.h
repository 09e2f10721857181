#pragma once

class QWidget;

namespace gf {

// Stretching every window from the 800x600 design to the screen.
struct ScaleFactors
{
    double font = 1.0; // FontFactor
    double x = 1.0;
    double y = 1.0;
};

ScaleFactors computeScaleFactors(int screenWidth, int screenHeight, int designWidth,
                                 int designHeight, int xxxWidth);

// Scales one control and, for containers, its children. Skinned buttons keep their size.
void ScaleControl(QWidget* control, double fontFactor, double x, double y);

// Fits one top-level window to the screen and scales its direct children.
void adaptWindow(QWidget* window, const ScaleFactors& factors, int screenWidth, int screenHeight);

} // namespace gf

#pragma once

#include <QVector>

namespace gf {

// Scale and margins of a bar chart, as the chart panel keeps them.
struct tGraphScale
{
    double MaxScaleVal = 100.0;
    double MinScaleVal = 0.0;
    double YRaster = 10.0;
    int LeftFrame = 30;
    int RightFrame = 20;
    int TopFrame = 20;
    int BottomFrame = 50;
};

// Where everything of a bar chart goes in a rectangle (left, top, right, bottom);
// shared by the screen, the printer and the tests.
struct tGraphLayout
{
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    int L = 0, R = 0, T = 0, B = 0; // margins in device pixels
    int Dx = 0, Dy = 0;             // depth of the 3-D bars
    int XScale = 0;                 // pixels per bar slot
    double YScale = 1.0;            // pixels per scale unit
    double MinScaleVal = 0.0;

    struct Bar
    {
        int X1 = 0, X2 = 0; // front face
        int Y1 = 0, Y2 = 0; // top and foot of the front face
        int Xm = 0;         // middle of the back: guide line, tick, caption
    };
    QVector<Bar> Bars;
    QVector<double> Raster; // scale values that get a raster line and a label

    // Vertical position of scale value v.
    int Y(double v) const;
};

// More raster lines than this are not drawn: the labels would only overlap.
constexpr int MaxRasterLines = 1000;

// With `printing`, the margins are scaled from the panel's pixels by the share of the
// page the chart takes (pageWidth, pageHeight).
tGraphLayout layoutGraph(const tGraphScale& scale, int left, int top, int right, int bottom,
                         const QVector<double>& values, bool printing = false, int pageWidth = 0,
                         int pageHeight = 0);

} // namespace gf

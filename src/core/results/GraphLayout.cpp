#include "core/results/GraphLayout.h"

#include <algorithm>
#include <cmath>

namespace gf {

namespace {
int roundInt(double v)
{
    return int(std::lround(v));
}
} // namespace

int tGraphLayout::Y(double v) const
{
    return Bottom - B - roundInt(YScale * (v - MinScaleVal));
}

tGraphLayout layoutGraph(const tGraphScale& s, int left, int top, int right, int bottom,
                         const QVector<double>& values, bool printing, int pageWidth,
                         int pageHeight)
{
    tGraphLayout g;
    g.Left = left;
    g.Top = top;
    g.Right = right;
    g.Bottom = bottom;
    g.MinScaleVal = s.MinScaleVal;
    g.L = s.LeftFrame;
    g.R = s.RightFrame;
    g.T = s.TopFrame;
    g.B = s.BottomFrame;
    if (printing && pageWidth > 0 && pageHeight > 0) {
        const double fx = double(right - left) / pageWidth;
        const double fy = double(bottom - top) / pageHeight;
        g.L = roundInt(g.L * fx);
        g.R = roundInt(g.R * fx);
        g.T = roundInt(g.T * fy);
        g.B = roundInt(g.B * fy);
    }
    const int height = bottom - top;
    g.Dx = roundInt(height / 40.0);
    g.Dy = roundInt(height / 80.0);
    g.B = std::max(g.B, g.Dy);
    g.R = std::max(g.R, g.Dx);

    if (values.isEmpty())
        return g;

    // Integer slots, so every bar has the same width.
    g.XScale = (right - left - g.L - g.R - g.Dx) / int(values.size());
    const double span = s.MaxScaleVal - s.MinScaleVal;
    g.YScale = span == 0.0 ? 1.0 : (bottom - top - g.B - g.T - g.Dy) / span;

    if (s.YRaster > 0.0) {
        const double lines = std::floor(span / s.YRaster + 1e-9);
        if (lines >= 1.0 && lines <= MaxRasterLines)
            for (int k = 1; k <= int(lines); ++k)
                g.Raster << s.MinScaleVal + k * s.YRaster;
    }

    const double xs = g.XScale;
    for (int i = 0; i < values.size(); ++i) {
        tGraphLayout::Bar b;
        b.X1 = left + g.L + roundInt(i * xs + xs / 6.0);
        b.X2 = left + g.L + roundInt(i * xs + 5.0 * xs / 6.0);
        // A bar below the scale's foot is drawn flat rather than downwards.
        b.Y1 = g.Y(std::max(values[i], s.MinScaleVal));
        b.Y2 = bottom - g.B;
        b.Xm = b.X1 + g.Dx + roundInt((b.X2 - b.X1) / 2.0);
        g.Bars << b;
    }
    return g;
}

} // namespace gf

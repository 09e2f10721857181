#pragma once

#include "core/results/GraphLayout.h"

#include <QColor>
#include <QFont>
#include <QFrame>
#include <QString>
#include <QVector>

class QFontMetrics;
class QPainter;
class QDateTime;

namespace gf {

class tProgramData;

// One bar of a chart.
struct tBarValue
{
    QColor Color;
    double Value = 0.0;
    QString Caption;
};

// A titled bar chart with value scale, dotted raster and 3-D bars. One drawing routine
// serves the screen, the printer and images.
class tGraphPanel final : public QFrame
{
    Q_OBJECT

public:
    explicit tGraphPanel(QWidget* parent = nullptr);

    QColor BackColor() const { return m_backColor; }
    void setBackColor(const QColor& colour);
    QColor BarColor() const { return m_barColor; }
    void setBarColor(const QColor& colour);
    QColor BackLineColor() const { return m_backLineColor; }
    void setBackLineColor(const QColor& colour);
    quint16 FrameWidth() const { return m_frameWidth; }
    void setFrameWidth(quint16 width);
    // Rebuilds the bar list with placeholders that the owner then overwrites.
    quint16 BarCount() const { return quint16(m_bars.size()); }
    void setBarCount(quint16 count);
    QString Title() const { return m_title; }
    void setTitle(const QString& title) { m_title = title; }
    double MaxScaleVal() const { return m_scale.MaxScaleVal; }
    void setMaxScaleVal(double v) { m_scale.MaxScaleVal = v; }
    double MinScaleVal() const { return m_scale.MinScaleVal; }
    void setMinScaleVal(double v) { m_scale.MinScaleVal = v; }
    double XRaster() const { return m_xRaster; }
    void setXRaster(double v) { m_xRaster = v; }
    double YRaster() const { return m_scale.YRaster; }
    void setYRaster(double v);
    quint16 LeftFrame() const { return quint16(m_scale.LeftFrame); }
    void setLeftFrame(quint16 v);
    quint16 RightFrame() const { return quint16(m_scale.RightFrame); }
    void setRightFrame(quint16 v);
    quint16 TopFrame() const { return quint16(m_scale.TopFrame); }
    void setTopFrame(quint16 v);
    quint16 BottomFrame() const { return quint16(m_scale.BottomFrame); }
    void setBottomFrame(quint16 v);

    const QVector<tBarValue>& Bars() const { return m_bars; }
    double XScale() const { return m_xScale; }
    double YScale() const { return m_yScale; }
    bool Printing() const { return m_printing; }

    // True whenever the list is not empty, also for an index outside it (which then
    // changes nothing). Does not redraw.
    bool SetBarValue(int index, const QString& caption, const QColor& colour, double value);
    // Smallest and largest bar value; both 0 for an empty list.
    bool GetMinMax(double& min, double& max) const;

    // Draws into the rectangle of a painter that is active on a printer (or any paged
    // device); the margins follow the share of the page the rectangle takes.
    bool PrintChart(QPainter& painter, int left, int top, int right, int bottom);
    // The one drawing routine. Returns false when a drawing is already running.
    bool drawChart(QPainter& painter, int left, int top, int right, int bottom, bool printing,
                   int pageWidth = 0, int pageHeight = 0);
    // The chart at `size`, drawn as on screen.
    QImage renderImage(const QSize& size);

    // The layout of the last drawing (for its owner and for checks).
    const tGraphLayout& lastLayout() const { return m_layout; }
    int lastTitlePointSize() const { return m_titlePointSize; }
    QRect lastTitleRect() const { return m_titleRect; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QVector<double> values() const;
    // The sections of drawChart.
    void drawTitle(QPainter& p, const tGraphLayout& g, int left, int top, int right,
                   bool printing);
    void drawRaster(QPainter& p, const tGraphLayout& g, const QFontMetrics& sm, int left,
                    int right, bool printing, const QColor& lineColour);
    void drawBar(QPainter& p, const tGraphLayout& g, const QFontMetrics& sm, int i, int yTop,
                 const QColor& lineColour);

    QColor m_backColor{192, 192, 192};
    QColor m_barColor{Qt::black};
    QColor m_backLineColor{128, 128, 128};
    quint16 m_frameWidth = 0;
    QString m_title;
    double m_xRaster = 10.0;
    tGraphScale m_scale;
    QVector<tBarValue> m_bars;
    double m_xScale = 1.0;
    double m_yScale = 1.0;
    bool m_printing = false;
    bool m_drawing = false;
    tGraphLayout m_layout;
    int m_titlePointSize = 0;
    QRect m_titleRect;
};

// A bar's value as written on it: "75 %", "66,7 %".
QString barValueText(double value);
// Black or white, whichever reads better on a face of this colour.
QColor readableOn(const QColor& face);

// The darker shade of the side and top faces: each component halved, rounded.
QColor darkerFace(const QColor& colour);

// Heading of a printed page: "Grips-Fix " + name + ", " + date and time, in German
// whatever the system's locale.
QString printHeadingText(const QString& name, const QDateTime& when);
// The same for the trainee signed in, at the program's time.
QString printHeadingText(const tProgramData* data);
// Draws a page heading centred 50 pixels below the top in 14-point Arial, black on white;
// returns the font it used.
QFont drawPageHeading(QPainter& painter, const QString& heading, bool bold = true);

} // namespace gf

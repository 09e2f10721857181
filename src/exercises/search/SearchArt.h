#pragma once

#include <QColor>
#include <QPixmap>
#include <QWidget>

class QPainter;

namespace gf {

// Pictures the search windows draw themselves, so they stay sharp at every screen size.
namespace searchart {

constexpr int FaxFrameCount = 3;

// The fax machine of the picture search: frame 1 at rest with the edge of a sheet in
// its slot, frames 2 and 3 with the sheet coming out further. Transparent around.
QPixmap faxFramePixmap(int frame, QSize size);

enum class Marker
{
    Sought, // the answer that was sought: an arrow pointing at it
    Wrong,  // the trainee's wrong choice: a cross
    Right   // the trainee's right choice: a tick
};
void drawMarker(QPainter& painter, const QRectF& box, Marker marker);

} // namespace searchart

// One answer marker of the word query.
class TMarker final : public QWidget
{
    Q_OBJECT
public:
    TMarker(searchart::Marker marker, QWidget* parent);
    searchart::Marker marker() const { return m_marker; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    searchart::Marker m_marker;
};

// A picture that paints its whole area itself: the background colour, then the
// picture stretched over it. Nothing behind it is repainted when it changes, so a new
// picture appears within a single paint of this widget.
class TStagePicture : public QWidget
{
    Q_OBJECT
public:
    explicit TStagePicture(const QColor& background, QWidget* parent = nullptr);

    void setPicture(const QPixmap& picture);
    const QPixmap& picture() const { return m_picture; }
    void clear() { setPicture(QPixmap()); }

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QColor m_background;
    QPixmap m_picture;
};

// One of the three fax frames of the picture search.
class TFaxFrame final : public TStagePicture
{
    Q_OBJECT
public:
    TFaxFrame(int frame, const QColor& background, QWidget* parent = nullptr);
    int frame() const { return m_frame; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    int m_frame;
};

} // namespace gf

#pragma once

#include "toolkit/TWindow.h"
#include <QPixmap>
#include <array>

namespace gf {

// Borderless window that draws its own frame, caption and close box from eight
// pictures and can be dragged by any point that no child claims.
class TOwnFenster : public TWindow
{
    Q_OBJECT

public:
    explicit TOwnFenster(AppContext& ctx, QWidget* parent = nullptr);

    // Frame margins around the client contents.
    static constexpr int FrameLeft = 23;
    static constexpr int FrameTop = 47;
    static constexpr int FrameRight = 23;
    static constexpr int FrameBottom = 24;

    // The close box in window coordinates.
    QRect closeBoxRect() const;

    // The picture list: top-left, top, top-right, left, right, bottom, bottom-left,
    // bottom-right.
    enum Piece
    {
        TopLeft,
        Top,
        TopRight,
        Left,
        Right,
        Bottom,
        BottomLeft,
        BottomRight
    };

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    static std::array<QPixmap, 8> makePictures();

    std::array<QPixmap, 8> m_pictures;
    bool m_dragging = false;
    QPoint m_dragOffset;
};

} // namespace gf

#pragma once

#include <QAbstractButton>
#include <QColor>
#include <QPixmap>

namespace gf {

// A button with a caption drawn over a face for each state (normal, hover,
// pressed). The faces are drawn in code unless pictures are given. Its size is fixed:
// the screen adaptation leaves skinned buttons exactly as they are.
class TSkinButton : public QAbstractButton
{
    Q_OBJECT
public:
    enum State
    {
        Normal,
        Hover,
        Pressed
    };

    explicit TSkinButton(const QString& caption, QSize size, QWidget* parent = nullptr);

    // Pictures for the three states; a null picture falls back to the drawn face.
    void setFaces(const QPixmap& normal, const QPixmap& hover, const QPixmap& pressed);
    void setFaceColour(const QColor& colour);
    void setCaptionColour(const QColor& colour);
    QColor faceColour() const { return m_face; }

    State state() const;
    // True for widgets the screen adaptation must not touch.
    static bool isSkinned(const QWidget* widget);

    QSize sizeHint() const override { return size(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap m_pictures[3];
    QColor m_face;
    QColor m_caption;
};

} // namespace gf

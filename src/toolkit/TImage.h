#pragma once

#include <QPixmap>
#include <QWidget>

namespace gf {

// A picture on a window: stretched over the widget, or (auto size) the widget takes
// the picture's size. Reports clicks.
class TImage : public QWidget
{
    Q_OBJECT
public:
    explicit TImage(QWidget* parent = nullptr);

    // Loads a picture file; false (and no picture) when it cannot be read.
    bool load(const QString& path);
    // As load, the picture scaled once to the widget's current size, so a repaint is a
    // plain copy.
    bool loadFitted(const QString& path);
    void setPicture(const QPixmap& picture);
    void clear() { setPicture(QPixmap()); }
    const QPixmap& picture() const { return m_picture; }

    void setStretch(bool stretch);
    void setAutoSize(bool autoSize);

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QPixmap m_picture;
    bool m_stretch = false;
    bool m_autoSize = false;
};

} // namespace gf

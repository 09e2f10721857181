#pragma once

#include <QFrame>

namespace gf {

// The bar at the foot of every program window: 40 pixels high, the full width of its
// parent, an optional centred text, and the buttons of the window. It keeps itself at
// the foot of its parent whenever the parent is resized, at its own current height.
class TStatusBar : public QFrame
{
    Q_OBJECT
public:
    explicit TStatusBar(QWidget* parent);

    void setText(const QString& text);
    QString text() const { return m_text; }

    // Middle button centred, its neighbours 50 pixels away on either side.
    // Any of the three may be null.
    void placeCentred(QWidget* left, QWidget* middle, QWidget* right) const;
    // First button 50 pixels from the left edge, last 50 pixels from the right edge.
    void placeAtEdges(QWidget* first, QWidget* last) const;
    // Two buttons around the middle: the first ends 50 pixels left of it, the
    // second begins 50 pixels right of it.
    void placePair(QWidget* left, QWidget* right) const;
    // One button centred.
    void placeCentre(QWidget* button) const { placeCentred(nullptr, button, nullptr); }

    // Puts the bar at the foot of its parent.
    void dock();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    int centredTop(const QWidget* w) const;
    QString m_text;
};

} // namespace gf

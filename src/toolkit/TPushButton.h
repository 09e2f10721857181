#pragma once

#include <QColor>
#include <QPushButton>

namespace gf {

// The program's standard push button: a flat face in one colour with a soft frame,
// drawn the same on every platform. Geometry and font are ordinary widget values,
// so the screen adaptation scales it like any other control.
class TPushButton : public QPushButton
{
    Q_OBJECT
public:
    explicit TPushButton(const QString& caption, QWidget* parent = nullptr);

    void setFaceColour(const QColor& colour);
    QColor faceColour() const { return m_face; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_face;
};

} // namespace gf

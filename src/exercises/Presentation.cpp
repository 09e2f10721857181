#include "exercises/Presentation.h"

#include <QBackingStore>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QWidget>

namespace gf {

void PresentationHold::setPresenting(bool presenting)
{
    m_presenting = presenting;
    apply();
}

void PresentationHold::pause()
{
    ++m_pauseDepth;
    apply();
}

void PresentationHold::resume()
{
    if (m_pauseDepth > 0)
        --m_pauseDepth;
    apply();
}

void PresentationHold::apply()
{
    const bool wanted = m_presenting && m_pauseDepth == 0;
    if (wanted == m_raised)
        return;
    m_raised = wanted;
    if (wanted)
        m_scheduler.raise(buffers ? buffers() : std::vector<MemoryRange>{});
    else
        m_scheduler.drop();
}

StepClock& PresentationHold::stageClock(StepClock& inner, QWidget* window)
{
    m_clock = std::make_unique<PreparingStepClock>(inner, [this, window] {
        if (m_raised)
            settlePaintBuffer(window);
    });
    return *m_clock;
}

void settlePaintBuffer(QWidget* window)
{
    // On X11 the paint buffer is shared with the server, and Qt makes a round trip before
    // painting into a part the server may still be reading. That wait belongs before the
    // step, not inside it. An empty paint makes it; it would clear a translucent window.
    window = window ? window->window() : nullptr;
    if (!window || QGuiApplication::platformName() != u"xcb" ||
        window->testAttribute(Qt::WA_TranslucentBackground))
        return;
    QBackingStore* store = window->backingStore();
    if (!store || !store->paintDevice() || store->size().isEmpty())
        return;
    store->beginPaint(QRect(QPoint(), store->size()));
    store->endPaint();
}

std::vector<MemoryRange> paintBuffers(QWidget* window)
{
    QBackingStore* store = window ? window->backingStore() : nullptr;
    if (!store)
        return {};
    // A raster backing store paints into an image; others have nothing of ours to lock.
    if (const auto* image = dynamic_cast<const QImage*>(store->paintDevice()))
        return {{image->constBits(), std::size_t(image->sizeInBytes())}};
    return {};
}

MemoryRange pixelsOf(const QPixmap& picture)
{
    // Two images alive at once share one address only when both share the picture's own
    // pixels; a converted copy would be locked in vain and freed while locked.
    const QImage a = picture.toImage();
    const QImage b = picture.toImage();
    if (a.isNull() || a.constBits() != b.constBits())
        return {};
    return {a.constBits(), std::size_t(a.sizeInBytes())};
}

} // namespace gf

#include "exercises/Presentation.h"

#include <QBackingStore>
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

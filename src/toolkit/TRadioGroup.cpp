#include "toolkit/TRadioGroup.h"

#include "render/PanelCanvas.h"
#include "toolkit/Accessibility.h"
#include "toolkit/Look.h"

#include <QButtonGroup>
#include <QEvent>
#include <QKeyEvent>
#include <QPainter>

namespace gf {

namespace {
int markSize(const QFontMetrics& fm)
{
    return qMax(12, fm.height() * 3 / 4);
}
} // namespace

TRadioItem::TRadioItem(const QString& text, QWidget* parent) : QRadioButton(text, parent)
{
    setAttribute(Qt::WA_Hover);
    setCursor(Qt::PointingHandCursor);
    // A reader's press chooses the option as a click does; a plain toggle would leave the
    // group unaware of it.
    access::makeButton(this, QString(), [this] { click(); });
}

QSize TRadioItem::sizeHint() const
{
    const QFontMetrics fm(font());
    return {markSize(fm) + fm.height() / 2 + fm.horizontalAdvance(text()) + 8, fm.height() + 6};
}

bool TRadioItem::hitButton(const QPoint& pos) const
{
    return rect().contains(pos);
}

void TRadioItem::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QFontMetrics fm(font());
    const int d = markSize(fm);
    const QColor ink = palette().color(QPalette::WindowText);
    const QRectF mark(2.5, (height() - d) / 2.0, d, d);

    // a group that takes the keys marks its chosen option while it has the focus
    const bool focused = hasFocus() || (isChecked() && parentWidget() && parentWidget()->hasFocus());
    if (underMouse() || focused) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 255, 255, focused ? 40 : 24));
        p.drawRoundedRect(rect(), 6, 6);
    }
    p.setPen(QPen(ink, qMax(2.0, d / 10.0)));
    p.setBrush(QColor(255, 255, 255, 30));
    p.drawEllipse(mark);
    if (isChecked()) {
        p.setPen(Qt::NoPen);
        p.setBrush(ink);
        const qreal inset = d * 0.27;
        p.drawEllipse(mark.adjusted(inset, inset, -inset, -inset));
    }
    p.setPen(isEnabled() ? ink : ink.darker(150));
    p.setFont(font());
    const QRect textRect(int(mark.right()) + fm.height() / 2, 0, width(), height());
    drawWatchedText(p, textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic, text());
}

TRadioGroup::TRadioGroup(const QString& caption, QWidget* parent)
    : QFrame(parent), m_caption(caption), m_group(new QButtonGroup(this))
{
    m_group->setExclusive(true);
    look::setTextColour(this, Qt::white);
    // the screen adaptation scales the group's font only; the options follow it
    setProperty("gfRadioGroup", true);
    connect(m_group, &QButtonGroup::idClicked, this, &TRadioGroup::itemClicked);
    setAccessibleName(caption); // the painted heading is no label a screen reader finds
}

void TRadioGroup::setCaption(const QString& caption)
{
    m_caption = caption;
    setAccessibleName(caption);
    arrange();
    update();
}

void TRadioGroup::setItems(const QStringList& items)
{
    for (TRadioItem* item : m_items) {
        m_group->removeButton(item);
        delete item;
    }
    m_items.clear();
    for (int i = 0; i < items.size(); ++i) {
        auto* item = new TRadioItem(items[i], this);
        if (m_choiceKeys)
            item->setFocusPolicy(Qt::NoFocus);
        m_group->addButton(item, i);
        m_items.append(item);
        item->show();
    }
    arrange();
}

QStringList TRadioGroup::items() const
{
    QStringList out;
    for (const TRadioItem* item : m_items)
        out << item->text();
    return out;
}

TRadioItem* TRadioGroup::item(int index) const
{
    return index >= 0 && index < m_items.size() ? m_items[index] : nullptr;
}

int TRadioGroup::itemIndex() const
{
    return m_group->checkedId();
}

void TRadioGroup::setItemIndex(int index)
{
    if (TRadioItem* it = item(index)) {
        it->setChecked(true);
        return;
    }
    // an exclusive group refuses to uncheck its last checked button
    m_group->setExclusive(false);
    for (TRadioItem* it : m_items)
        it->setChecked(false);
    m_group->setExclusive(true);
}

void TRadioGroup::setChoiceKeys(bool on)
{
    m_choiceKeys = on;
    setFocusPolicy(on ? Qt::StrongFocus : Qt::NoFocus);
    for (TRadioItem* it : m_items)
        it->setFocusPolicy(on ? Qt::NoFocus : Qt::StrongFocus);
}

void TRadioGroup::choose(int index)
{
    setItemIndex(index);
    emit itemClicked(index);
}

void TRadioGroup::keyPressEvent(QKeyEvent* event)
{
    const int n = count();
    const int at = itemIndex();
    const int key = event->key();
    const bool plain = !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    if (!m_choiceKeys || n == 0 || !plain) {
        QFrame::keyPressEvent(event);
        return;
    }
    if (key >= Qt::Key_1 && key < Qt::Key_1 + n)
        choose(key - Qt::Key_1);
    else if (key == Qt::Key_Down || key == Qt::Key_Right)
        choose(at < 0 ? 0 : (at + 1) % n);
    else if (key == Qt::Key_Up || key == Qt::Key_Left)
        choose(at < 0 ? n - 1 : (at + n - 1) % n);
    else {
        QFrame::keyPressEvent(event);
        return;
    }
    event->accept();
}

void TRadioGroup::focusInEvent(QFocusEvent* event)
{
    QFrame::focusInEvent(event);
    update();
    for (TRadioItem* it : m_items)
        it->update();
}

void TRadioGroup::focusOutEvent(QFocusEvent* event)
{
    QFrame::focusOutEvent(event);
    update();
    for (TRadioItem* it : m_items)
        it->update();
}

int TRadioGroup::captionHeight() const
{
    return m_caption.isEmpty() ? 8 : QFontMetrics(captionFont()).height() + 6;
}

QFont TRadioGroup::captionFont() const
{
    // The low-vision look's larger heading gives way where the frame is too narrow.
    QFont f = font();
    if (look::lowVision())
        while (f.pixelSize() > 8 &&
               QFontMetrics(f).horizontalAdvance(m_caption) + 12 > width() - 28)
            f.setPixelSize(f.pixelSize() - 1);
    return f;
}

void TRadioGroup::setColumns(int columns)
{
    m_columns = qMax(1, columns);
    arrange();
}

void TRadioGroup::arrange()
{
    if (m_items.isEmpty())
        return;
    const int top = captionHeight();
    const int margin = qMax(8, QFontMetrics(font()).height() / 2);
    const int avail = qMax(1, height() - top - 6);
    const int count = int(m_items.size());
    const int rows = (count + m_columns - 1) / m_columns;
    const int rowHeight = avail / rows;
    const int columnWidth = (width() - 2 * margin) / m_columns;
    // The low-vision look's larger options give way where a column is too narrow.
    QFont itemFont = font();
    if (look::lowVision()) {
        auto fits = [&](const QFont& f) {
            const QFontMetrics fm(f);
            for (const TRadioItem* item : m_items)
                if (markSize(fm) + fm.height() / 2 + fm.horizontalAdvance(item->text()) + 8 >
                        columnWidth ||
                    fm.height() + 6 > rowHeight)
                    return false;
            return true;
        };
        while (itemFont.pixelSize() > 8 && !fits(itemFont))
            itemFont.setPixelSize(itemFont.pixelSize() - 1);
        for (TRadioItem* item : m_items)
            item->setFont(itemFont);
    }
    for (int i = 0; i < count; ++i) {
        const int rowTop = top + (i % rows) * rowHeight;
        const int h = qMin(rowHeight, QFontMetrics(itemFont).height() + 10);
        m_items[i]->setGeometry(margin + (i / rows) * columnWidth, rowTop + (rowHeight - h) / 2,
                                columnWidth, h);
    }
}

void TRadioGroup::resizeEvent(QResizeEvent* event)
{
    QFrame::resizeEvent(event);
    arrange();
}

void TRadioGroup::changeEvent(QEvent* event)
{
    QFrame::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        arrange();
}

void TRadioGroup::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QFontMetrics fm(captionFont());
    const int capH = m_caption.isEmpty() ? 0 : fm.height();
    const QRectF frame = QRectF(rect()).adjusted(1, capH / 2.0 + 1, -1, -1);
    const QColor ink = palette().color(QPalette::WindowText);
    QColor line = ink;
    line.setAlpha(150);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 14));
    p.drawRoundedRect(frame, 8, 8);

    QRect capRect;
    if (!m_caption.isEmpty()) {
        const int textW = fm.horizontalAdvance(m_caption);
        capRect = QRect(14, 0, qMin(textW + 12, width() - 28), capH);
    }
    // the heading interrupts the frame line
    p.save();
    p.setClipRegion(QRegion(rect()).subtracted(QRegion(capRect)));
    if (look::lowVision())
        p.setPen(hasFocus() ? QPen(QColor(255, 215, 0), 4) : QPen(ink, 1.5));
    else
        p.setPen(hasFocus() ? QPen(ink, 3) : QPen(line, 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(frame, 8, 8);
    p.restore();
    if (!m_caption.isEmpty()) {
        p.setPen(ink);
        p.setFont(captionFont());
        drawWatchedText(p, capRect.adjusted(6, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, m_caption);
    }
}

} // namespace gf

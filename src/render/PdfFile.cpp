#include "render/PdfFile.h"

#include "sys/DataFiles.h"

#include <QBuffer>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

namespace gf {

bool writeA4Pdf(const QString& fileName, QPageLayout::Orientation orientation, qreal marginMm,
                const QString& title, const QString& cannotBegin,
                const std::function<void(QPainter&, QPdfWriter&)>& draw, QString* error)
{
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setResolution(300);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), orientation,
                                         QMarginsF(marginMm, marginMm, marginMm, marginMm),
                                         QPageLayout::Millimeter));
        writer.setCreator(QStringLiteral("Grips-Fix"));
        writer.setTitle(title);
        QPainter painter;
        if (!painter.begin(&writer)) {
            if (error)
                *error = cannotBegin;
            return false;
        }
        draw(painter, writer);
        painter.end();
    }
    return files::replace(fileName, bytes, error);
}

} // namespace gf

#include "core/data/BinaryIO.h"

#include <QDir>
#include <QFileDevice>
#include <QFileInfo>
#include <QIODevice>

namespace gf {

QString ByteCursor::slot()
{
    if (!reserve(SlotSize))
        return {};
    const int length = static_cast<unsigned char>(m_data[m_pos]);
    QString text = cp1252::decode(m_data + m_pos + 1, length);
    m_pos += SlotSize;
    return text;
}

bool ByteWriter::slot(const QString& text)
{
    QByteArray bytes;
    bool whole = cp1252::encode(text, bytes);
    if (bytes.size() > SlotSize - 1) {
        bytes.truncate(SlotSize - 1);
        whole = false;
    }
    m_out.append(char(bytes.size()));
    m_out.append(bytes);
    m_out.append(SlotSize - 1 - bytes.size(), '\0');
    return whole;
}

bool readExact(QIODevice& device, char* buffer, qint64 n)
{
    qint64 done = 0;
    while (done < n) {
        const qint64 got = device.read(buffer + done, n - done);
        if (got <= 0)
            return false;
        done += got;
    }
    return true;
}

QString shortFileText(const QString& fileName)
{
    return QStringLiteral("Die Datei %1 endet vor dem Ende ihrer Daten (beschädigt?).")
        .arg(QDir::toNativeSeparators(fileName));
}

} // namespace gf

#pragma once

#include "sys/Cp1252.h"

#include <QByteArray>
#include <QString>
#include <QtEndian>

#include <cstring>

class QFileDevice;
class QIODevice;

namespace gf {

constexpr int SlotSize = 256;

// Reads little-endian fields from bytes already in memory. Reading past the end sets
// a sticky failure and yields zeros, so a record is decoded first and checked once.
class ByteCursor
{
public:
    ByteCursor(const char* data, qint64 size) : m_data(data), m_size(size) {}

    bool ok() const { return m_ok; }
    qint64 remaining() const { return m_size - m_pos; }
    qint64 pos() const { return m_pos; }

    quint8 u8() { return take<quint8>(); }
    quint16 u16() { return take<quint16>(); }
    qint32 i32() { return take<qint32>(); }
    double f64()
    {
        const quint64 bits = take<quint64>();
        double value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }
    // A 256-byte string slot: length byte, then that many characters.
    QString slot();
    void skip(qint64 n)
    {
        if (!reserve(n))
            return;
        m_pos += n;
    }

private:
    bool reserve(qint64 n)
    {
        if (!m_ok || n < 0 || n > remaining()) {
            m_ok = false;
            return false;
        }
        return true;
    }
    template <typename T> T take()
    {
        if (!reserve(sizeof(T)))
            return T{};
        const T value = qFromLittleEndian<T>(m_data + m_pos);
        m_pos += qint64(sizeof(T));
        return value;
    }

    const char* m_data;
    qint64 m_size;
    qint64 m_pos = 0;
    bool m_ok = true;
};

// Appends little-endian fields.
class ByteWriter
{
public:
    explicit ByteWriter(QByteArray& out) : m_out(out) {}

    void u8(quint8 v) { m_out.append(char(v)); }
    void u16(quint16 v) { put(v); }
    void i32(qint32 v) { put(v); }
    void f64(double v)
    {
        quint64 bits;
        std::memcpy(&bits, &v, sizeof bits);
        put(bits);
    }
    void zeros(int n) { m_out.append(n, '\0'); }
    // A 256-byte slot; text beyond 255 bytes is cut, characters the code page lacks
    // become "?". Returns false when either happened.
    bool slot(const QString& text);

private:
    template <typename T> void put(T v)
    {
        char buf[sizeof(T)];
        qToLittleEndian<T>(v, buf);
        m_out.append(buf, qsizetype(sizeof(T)));
    }
    QByteArray& m_out;
};

// Reads exactly n bytes; false on a short read.
bool readExact(QIODevice& device, char* buffer, qint64 n);

// The text for a file that ends before its contents do.
QString shortFileText(const QString& fileName);

} // namespace gf

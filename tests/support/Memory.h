#pragma once

#include <QFile>

namespace gf::test {

// Memory this process has locked against paging, in KiB; -1 when unknown.
inline qint64 lockedKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmLck:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    return -1;
}

} // namespace gf::test

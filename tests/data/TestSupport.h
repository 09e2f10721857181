#pragma once

// Helpers shared by the data tests: a message sink that records, a clock that stands
// still, and an independent little-endian builder for expected file bytes.

#include "data/MessageSink.h"
#include "data/Timing.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QtEndian>

#include <csignal>
#include <cstring>
#include <sys/resource.h>

namespace gftest {

struct RecordingSink final : gf::MessageSink
{
    struct Entry
    {
        QString text;
        int kind;
        int help;
    };
    QList<Entry> entries;

    int message(const QString& text, int kind, int, int helpContext) override
    {
        entries.append({text, kind, helpContext});
        return gf::mrOk;
    }
    void plainMessage(const QString& text) override { entries.append({text, -1, 0}); }
    QString last() const { return entries.isEmpty() ? QString() : entries.last().text; }
    void clear() { entries.clear(); }
};

struct FixedClock final : gf::Clock
{
    QDateTime moment;
    explicit FixedClock(QDateTime m) : moment(std::move(m)) {}
    QDateTime now() const override { return moment; }
};

// Builds bytes field by field from the layout tables, independent of the writers.
struct Bytes
{
    QByteArray b;
    Bytes& u8(int v)
    {
        b.append(char(v));
        return *this;
    }
    Bytes& u16(int v)
    {
        b.append(char(v & 0xFF)).append(char((v >> 8) & 0xFF));
        return *this;
    }
    Bytes& i32(qint32 v)
    {
        const quint32 u = quint32(v);
        for (int i = 0; i < 4; ++i)
            b.append(char((u >> (8 * i)) & 0xFF));
        return *this;
    }
    Bytes& f64(double v)
    {
        quint64 u;
        std::memcpy(&u, &v, 8);
        for (int i = 0; i < 8; ++i)
            b.append(char((u >> (8 * i)) & 0xFF));
        return *this;
    }
    // 256-byte slot of Latin-1 text (the test texts keep to Latin-1).
    Bytes& slot(const QString& s)
    {
        const QByteArray t = s.toLatin1();
        b.append(char(t.size())).append(t).append(255 - t.size(), '\0');
        return *this;
    }
};

// Days since 30.12.1899 for a date and time, computed from the calendar.
inline double serial(int y, int m, int d, int hh = 0, int mm = 0, int ss = 0)
{
    return double(QDate(1899, 12, 30).daysTo(QDate(y, m, d))) +
           (hh * 3600 + mm * 60 + ss) / 86400.0;
}

// Makes writes beyond `bytes` in any file fail for the life of the object, so a
// test can see what a full disk does.
struct FileSizeLimit
{
    rlimit old{};
    explicit FileSizeLimit(rlim_t bytes)
    {
        signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &old);
        rlimit lim = old;
        lim.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &lim);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &old); }
};

} // namespace gftest

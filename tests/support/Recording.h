#pragma once

// What the core reports, recorded, and a wall clock that stands still: the one sink and
// the one clock of every test.

#include "core/data/MessageSink.h"
#include "core/data/Timing.h"

#include <QDateTime>
#include <QList>
#include <QStringList>

namespace gf::test {

struct RecordingSink final : gf::MessageSink
{
    struct Entry
    {
        QString text;
        int kind = -1; // -1: the plain message window
        int buttons = 0;
        int help = 0;
    };
    QList<Entry> entries;
    int answer = gf::mrOk;

    int message(const QString& text, int kind, int buttons, int helpContext) override
    {
        entries.append({text, kind, buttons, helpContext});
        return answer;
    }
    void plainMessage(const QString& text) override { entries.append({text, -1, 0, 0}); }

    QString last() const { return entries.isEmpty() ? QString() : entries.last().text; }
    QStringList texts() const
    {
        QStringList t;
        for (const Entry& e : entries)
            t << e.text;
        return t;
    }
    void clear() { entries.clear(); }
};

struct FixedClock final : gf::Clock
{
    QDateTime moment;
    explicit FixedClock(QDateTime m) : moment(std::move(m)) {}
    QDateTime now() const override { return moment; }
};

} // namespace gf::test

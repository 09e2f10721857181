#include "core/search/ItemTables.h"

#include "core/data/BinaryIO.h"
#include "core/data/MessageSink.h"
#include "core/data/Random.h"
#include "core/search/SearchRules.h"

#include "sys/DataFiles.h"

#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <QSet>

#include <algorithm>

namespace gf {

namespace {
constexpr int BlockHead = SlotSize + 4; // name, row and column count

QString tableLabel(int index, const QString& name)
{
    return QStringLiteral("Tabelle %1 „%2“").arg(index).arg(name);
}

// Control characters written as \xNN so the message shows where they are.
QString visibleText(const QString& text)
{
    QString out;
    for (QChar ch : text)
        out += ch.category() == QChar::Other_Control
                   ? QStringLiteral("\\x") +
                         QString::number(ch.unicode(), 16).toUpper().rightJustified(2, u'0')
                   : QString(ch);
    return out;
}
} // namespace

QString checkTableShape(const tConfig& table)
{
    using namespace itemlimits;
    if (table.RowCount > tConfig::GridSize || table.ColCount > tConfig::GridSize)
        return QStringLiteral("sie hat mehr als 10 Zeilen oder Spalten.");
    if (table.ColCount > MaxColumns)
        return QStringLiteral("sie hat mehr als 4 Kategorien (höchstens 5 Spalten).");
    if (table.RowCount > MaxRows)
        return QStringLiteral("sie hat mehr als 4 Begriffe je Kategorie (höchstens 6 Zeilen).");
    const int items =
        table.RowCount > 2 && table.ColCount > 1 ? (table.RowCount - 2) * (table.ColCount - 1) : 0;
    if (items < MinItems)
        return QStringLiteral("sie hat weniger als 10 Begriffe.");
    // An empty, invisible or repeated item could not be told apart in the question.
    QSet<QString> seen;
    for (int r = 3; r <= table.RowCount; ++r)
        for (int c = 2; c <= table.ColCount; ++c) {
            const QString& text = table.Cells[r][c].Text;
            if (text.trimmed().isEmpty())
                return QStringLiteral("sie hat einen leeren Begriff (Zeile %1, Spalte %2).")
                    .arg(r)
                    .arg(c);
            // NUL, C0 and C1 controls (the unassigned Windows-1252 bytes decode to C1)
            // show as nothing or cut the word short.
            const bool control = std::any_of(text.begin(), text.end(), [](QChar ch) {
                return ch.category() == QChar::Other_Control;
            });
            if (control)
                return QStringLiteral("der Begriff „%1“ (Zeile %2, Spalte %3) enthält ein "
                                      "Steuerzeichen.")
                    .arg(visibleText(text))
                    .arg(r)
                    .arg(c);
            if (text != text.trimmed())
                return QStringLiteral("der Begriff „%1“ (Zeile %2, Spalte %3) beginnt oder "
                                      "endet mit Leerraum.")
                    .arg(text)
                    .arg(r)
                    .arg(c);
            if (seen.contains(text))
                return QStringLiteral("der Begriff „%1“ steht mehr als einmal darin.").arg(text);
            seen.insert(text);
        }
    // Column 1 is searched first for an item's category, so an item there would turn
    // the question to column 1.
    for (int r = 3; r <= table.RowCount; ++r) {
        const QString& text = table.Cells[r][1].Text;
        if (seen.contains(text))
            return QStringLiteral("der Begriff „%1“ steht auch in Spalte 1 (Zeile %2), die "
                                  "keine Kategorie ist.")
                .arg(text)
                .arg(r);
    }
    return {};
}

bool readItemTables(QIODevice& in, const QString& fileLabel, ItemTableFile& out, QString* error)
{
    auto fail = [error](const QString& text) {
        if (error)
            *error = text;
        return false;
    };
    const QString truncated = shortFileText(fileLabel);
    if (in.size() - in.pos() > itemlimits::MaxFileSize)
        return fail(
            QStringLiteral("Die Datei %1 ist zu groß für Aufgabentabellen.").arg(fileLabel));
    const QByteArray bytes = in.readAll();
    ByteCursor c(bytes.constData(), bytes.size());

    const quint16 count = c.u16();
    if (!c.ok())
        return fail(truncated);
    for (int index = 1; index <= count; ++index) {
        if (c.remaining() < BlockHead)
            return fail(truncated);
        auto table = std::make_shared<tConfig>();
        table->Name = c.slot();
        const quint16 rows = c.u16();
        const quint16 cols = c.u16();
        const QString label = tableLabel(index, table->Name);
        if (rows > tConfig::GridSize || cols > tConfig::GridSize)
            return fail(QStringLiteral("Die %1 in %2 ist nicht verwendbar: sie hat mehr als 10 "
                                       "Zeilen oder Spalten.")
                            .arg(label, fileLabel));
        if (qint64(rows) * cols * SlotSize + 4 > c.remaining())
            return fail(truncated + QStringLiteral(" (%1)").arg(label));
        table->RowCount = rows;
        table->ColCount = cols;
        for (int r = 1; r <= rows; ++r)
            for (int col = 1; col <= cols; ++col)
                table->Cells[r][col].Text = c.slot();
        const qint32 lines = c.i32();
        if (lines > 0 && qint64(lines) * SlotSize > c.remaining())
            return fail(truncated + QStringLiteral(" (%1)").arg(label));
        for (qint32 i = 0; i < lines; ++i)
            table->Lines.append(c.slot());
        if (const QString reason = checkTableShape(*table); !reason.isEmpty())
            return fail(QStringLiteral("Die %1 in %2 ist nicht verwendbar: %3")
                            .arg(label, fileLabel, reason));
        out.Tables.append(std::move(table));
    }
    if (c.remaining() < itemlimits::SettingsSize)
        return fail(truncated);
    out.Settings = bytes.mid(c.pos(), itemlimits::SettingsSize);
    out.DisplayTime = c.i32();
    return true;
}

QByteArray writeItemTables(const ItemTableFile& file)
{
    QByteArray out;
    ByteWriter w(out);
    w.u16(quint16(std::min<qsizetype>(file.Tables.size(), 0xFFFF)));
    for (const auto& table : file.Tables) {
        w.slot(table->Name);
        w.u16(table->RowCount);
        w.u16(table->ColCount);
        for (int r = 1; r <= table->RowCount; ++r)
            for (int c = 1; c <= table->ColCount; ++c)
                w.slot(table->Cells[r][c].Text);
        w.i32(qint32(table->Lines.size()));
        for (const QString& line : table->Lines)
            w.slot(line);
    }
    w.i32(file.DisplayTime);
    QByteArray rest = file.Settings.mid(4, itemlimits::SettingsSize - 4);
    rest.resize(itemlimits::SettingsSize - 4, '\0');
    out.append(rest);
    return out;
}

bool ItemTables::LoadItemTables(const QString& fileName, Random& random, MessageSink* sink)
{
    auto fail = [sink, &fileName](const QString& text) {
        if (sink)
            sink->plainMessage(text.isEmpty() ? QStringLiteral("Fehler beim Öffnen von %1!")
                                                    .arg(QFileInfo(fileName).fileName())
                                              : QStringLiteral("Fehler: ") + text);
        return false;
    };
    Tables.clear();
    DataFile file(fileName); // a FIFO or device in its place must not hang the program
    if (!file.open(QIODevice::ReadOnly))
        return fail(file.errorText());
    ItemTableFile contents;
    QString error;
    const bool ok = readItemTables(file, QFileInfo(fileName).fileName(), contents, &error);
    Tables = contents.Tables;
    if (!ok)
        return fail(error);
    if (Tables.isEmpty())
        return fail(QStringLiteral("Die Datei %1 enthält keine Tabelle.")
                        .arg(QFileInfo(fileName).fileName()));
    DisplayTime = contents.DisplayTime;
    Settings = contents.Settings;
    CurrentIndex = random.below(int(Tables.size()));
    Current = Tables[CurrentIndex];
    KatCount = Current->ColCount - 1;
    ResetItemCounters();
    return true;
}

int ItemTables::FindColumn(const QString& text) const
{
    return Current ? search::FindColumn(*Current, text) : -1;
}

tCell* ItemTables::FindCell(const QString& text, MessageSink* sink)
{
    if (tCell* cell = Current ? search::FindCell(*Current, text) : nullptr)
        return cell;
    if (sink)
        sink->plainMessage(QStringLiteral("Nicht gefunden: ") + text);
    return nullptr;
}

void ItemTables::ResetItemCounters()
{
    if (!Current)
        return;
    for (int r = 3; r <= Current->RowCount; ++r)
        for (int c = 2; c <= Current->ColCount; ++c) {
            Current->Cells[r][c].Correct = 0;
            Current->Cells[r][c].Asked = 0;
        }
}

int CountTasks(const QList<tSampleCfg>& tasks, const QString& text)
{
    int count = 0;
    for (const tSampleCfg& task : tasks)
        if (task.Text == text)
            ++count;
    return count;
}

} // namespace gf

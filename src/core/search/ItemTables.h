#pragma once

#include "core/data/Records.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <memory>

class QIODevice;

namespace gf {

class MessageSink;
class Random;

// Limits of a table the search exercises can use: the introductions show at most
// 4 categories of 4 items, and a task shows up to 10 distinct items.
namespace itemlimits {
constexpr int MaxColumns = 5;
constexpr int MaxRows = 6;
constexpr int MinItems = 10;
constexpr int SettingsSize = 104;
constexpr qint32 DefaultDisplayTime = 1500;
constexpr qint64 MaxFileSize = 64 * 1024 * 1024; // larger files are refused unread
} // namespace itemlimits

// The contents of an item-table file.
struct ItemTableFile
{
    QList<std::shared_ptr<tConfig>> Tables;
    qint32 DisplayTime = itemlimits::DefaultDisplayTime; // ms; first field of the settings
    QByteArray Settings = QByteArray(itemlimits::SettingsSize, '\0');
};

// Reads a whole item-table file. Every table must fit the exercises' limits. On failure
// returns false with the reason in error (German, naming fileLabel and the table);
// the tables read before the failure stay in out.
bool readItemTables(QIODevice& in, const QString& fileLabel, ItemTableFile& out, QString* error);
// The file bytes; strings must be Windows-1252 encodable and at most 255 bytes.
QByteArray writeItemTables(const ItemTableFile& file);
// Why the table cannot be used by the exercises, empty when it can.
QString checkTableShape(const tConfig& table);

// The tables of one exercise (word search and picture search each keep their own).
class ItemTables
{
public:
    QList<std::shared_ptr<tConfig>> Tables; // replaced on each load
    int CurrentIndex = -1;
    std::shared_ptr<tConfig> Current; // survives a failed reload
    int KatCount = 0;                 // categories of the current table
    qint32 DisplayTime = itemlimits::DefaultDisplayTime;
    QByteArray Settings = QByteArray(itemlimits::SettingsSize, '\0');

    // Reads the file, draws the current table and resets its counters. On failure
    // reports "Fehler: ..." and keeps the table drawn before. The second introduction's
    // text is Current->Lines; the window copies it when it is not empty.
    bool LoadItemTables(const QString& fileName, Random& random, MessageSink* sink);

    // Column of the first item (rows 3.., columns 1..) with this text, or -1.
    int FindColumn(const QString& text) const;
    // First item cell (rows 3.., columns 2..) with this text; reports "Nicht gefunden: "
    // and returns nullptr when there is none.
    tCell* FindCell(const QString& text, MessageSink* sink);
    // Correct and Asked of every item cell to 0.
    void ResetItemCounters();
};

// Entries of a run's task list whose text equals text.
int CountTasks(const QList<tSampleCfg>& tasks, const QString& text);

} // namespace gf

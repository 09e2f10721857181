#include "core/search/ItemTableText.h"

#include "core/data/BinaryIO.h"
#include "core/search/SearchRules.h"

#include <QStringList>

namespace gf {

namespace {

QString storable(const QString& text)
{
    QByteArray bytes;
    if (!cp1252::encode(text, bytes))
        return QStringLiteral("„%1“ enthält Zeichen, die es in Windows-1252 nicht gibt.").arg(text);
    if (bytes.size() > SlotSize - 1)
        return QStringLiteral("„%1…“ ist länger als 255 Zeichen.").arg(text.left(20));
    return {};
}

bool takeKeyword(const QString& line, const QString& keyword, QString& rest)
{
    if (!line.startsWith(keyword))
        return false;
    rest = line.mid(keyword.size());
    return true;
}

} // namespace

bool parseItemTableText(const QString& text, ItemTableFile& out, QString* error)
{
    std::shared_ptr<tConfig> table;
    int tableLine = 0;
    int currentLine = 0;
    auto fail = [&](const QString& message) {
        if (error)
            *error = QStringLiteral("Fehler in Zeile %1: %2").arg(currentLine).arg(message);
        return false;
    };
    auto finish = [&]() {
        if (!table)
            return true;
        if (const QString reason = checkTableShape(*table); !reason.isEmpty()) {
            if (error)
                *error = QStringLiteral("Fehler in Zeile %1: die Tabelle %2 „%3“ ist nicht "
                                        "verwendbar: %4")
                             .arg(tableLine)
                             .arg(out.Tables.size() + 1)
                             .arg(table->Name, reason);
            return false;
        }
        out.Tables.append(table);
        table.reset();
        return true;
    };

    const QStringList lines = text.split(u'\n');
    for (const QString& raw : lines) {
        ++currentLine;
        const QString line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        QString rest;
        if (takeKeyword(line, QStringLiteral("Anzeigezeit:"), rest)) {
            bool ok = false;
            const int ms = rest.trimmed().toInt(&ok);
            if (!ok || ms < search::MinWordShowTime.count() ||
                ms > search::MaxWordShowTime.count())
                return fail(QStringLiteral("die Anzeigezeit muss eine Zahl von %1 bis %2 "
                                           "(Millisekunden) sein.")
                                .arg(search::MinWordShowTime.count())
                                .arg(search::MaxWordShowTime.count()));
            out.DisplayTime = ms;
        } else if (takeKeyword(line, QStringLiteral("Tabelle:"), rest)) {
            if (!finish())
                return false;
            table = std::make_shared<tConfig>();
            table->Name = rest.trimmed();
            table->RowCount = 0;
            table->ColCount = 0;
            tableLine = currentLine;
            if (const QString problem = storable(table->Name); !problem.isEmpty())
                return fail(problem);
        } else if (takeKeyword(line, QStringLiteral("Zeile:"), rest)) {
            if (!table)
                return fail(QStringLiteral("„Zeile:“ vor der ersten „Tabelle:“."));
            const QStringList cells = rest.split(u'|');
            if (cells.size() > tConfig::GridSize)
                return fail(QStringLiteral("mehr als 10 Zellen."));
            if (table->RowCount == tConfig::GridSize)
                return fail(QStringLiteral("die Tabelle hat schon 10 Zeilen."));
            if (table->RowCount > 0 && cells.size() != table->ColCount)
                return fail(QStringLiteral("%1 Zellen, die Tabelle hat aber %2 Spalten.")
                                .arg(cells.size())
                                .arg(table->ColCount));
            const int row = ++table->RowCount;
            table->ColCount = quint16(cells.size());
            for (int c = 1; c <= cells.size(); ++c) {
                const QString cell = cells[c - 1].trimmed();
                if (const QString problem = storable(cell); !problem.isEmpty())
                    return fail(problem);
                table->Cells[row][c].Text = cell;
            }
        } else if (takeKeyword(line, QStringLiteral("Text:"), rest)) {
            if (!table)
                return fail(QStringLiteral("„Text:“ vor der ersten „Tabelle:“."));
            const QString textLine = rest.trimmed();
            if (const QString problem = storable(textLine); !problem.isEmpty())
                return fail(problem);
            table->Lines.append(textLine);
        } else {
            return fail(QStringLiteral("unbekannte Angabe (erwartet: Anzeigezeit:, Tabelle:, "
                                       "Zeile:, Text: oder # für Kommentare)."));
        }
    }
    if (!finish())
        return false;
    if (out.Tables.isEmpty()) {
        if (error)
            *error = QStringLiteral("Fehler: der Text enthält keine Tabelle.");
        return false;
    }
    if (out.Tables.size() > 0xFFFF) {
        if (error)
            *error = QStringLiteral("Fehler: mehr als 65535 Tabellen.");
        return false;
    }
    return true;
}

QString formatItemTableText(const ItemTableFile& file)
{
    QString text;
    // the time the run uses, so that the text reads back
    text += QStringLiteral("Anzeigezeit: %1\n").arg(search::wordShowTime(file.DisplayTime).count());
    for (const auto& table : file.Tables) {
        text += QStringLiteral("\nTabelle: %1\n").arg(table->Name);
        for (int r = 1; r <= table->RowCount; ++r) {
            QStringList cells;
            for (int c = 1; c <= table->ColCount; ++c)
                cells.append(table->Cells[r][c].Text);
            text += QStringLiteral("Zeile: ") + cells.join(QStringLiteral(" | ")) + u'\n';
        }
        for (const QString& line : table->Lines)
            text += QStringLiteral("Text: ") + line + u'\n';
    }
    return text;
}

} // namespace gf

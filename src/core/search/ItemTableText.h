#pragma once

#include "core/search/ItemTables.h"

#include <QString>

namespace gf {

// The text form of item-table files (see README, "Item-table text form"): what the
// installation's word lists are written in and what the data tool prints.
// On failure error names the line and the table, in German.
bool parseItemTableText(const QString& text, ItemTableFile& out, QString* error);
QString formatItemTableText(const ItemTableFile& file);

} // namespace gf

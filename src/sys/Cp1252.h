#pragma once

#include <QByteArray>
#include <QString>

namespace gf {

// Windows-1252, the code page of every string in the binary files.
namespace cp1252 {
QString decode(const char* bytes, int length);
// False when a character has no byte in the code page.
bool encode(const QString& text, QByteArray& out);
bool canEncode(const QString& text);
} // namespace cp1252

} // namespace gf

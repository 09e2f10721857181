#pragma once

#include <QByteArray>
#include <QColor>
#include <QFont>
#include <QString>

class QTextDocument;

namespace gf {

// Reads the rich-text pages of the help and tip windows into a QTextDocument. It knows
// what those pages use: groups, paragraphs and line breaks, tabs, bold, italic,
// underline, font size, colours from the colour table, paragraph alignment, 8-bit
// characters in Windows-1252 and Unicode characters; everything else, and every
// ignorable destination (font table, style sheet, information, pictures, {\* ...}), is
// skipped. Broken input is shown as far as it can be read; reading never fails harder
// than that and always ends.
class RtfReader
{
public:
    explicit RtfReader(QTextDocument* document);

    // Font and colour of text that sets neither (and of \plain).
    void setBaseFont(const QFont& font) { m_baseFont = font; }
    void setBaseColour(const QColor& colour) { m_baseColour = colour; }

    // Replaces the document's content. Returns false when the input was not
    // well-formed; the document then holds what could be read.
    bool read(const QByteArray& data);
    // Reads a file; false with errorString() when it cannot be read or is malformed.
    bool readFile(const QString& path);

    QString errorString() const { return m_error; }

    // Text of a byte in Windows-1252.
    static QChar fromCp1252(unsigned char byte);

private:
    QTextDocument* m_doc;
    QFont m_baseFont;
    QColor m_baseColour = Qt::black;
    QString m_error;
};

} // namespace gf

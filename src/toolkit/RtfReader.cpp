#include "toolkit/RtfReader.h"

#include "toolkit/Look.h"

#include <QFile>
#include <QList>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>
#include <climits>

namespace gf {

namespace {

constexpr int kMaxDepth = 256;      // deeper groups share the state of the deepest one
constexpr int kMaxParamDigits = 10; // further digits of a parameter are text, as in RTF

enum class Dest
{
    Text,
    Skip,
    ColourTable
};

struct State
{
    bool bold = false;
    bool italic = false;
    bool underline = false;
    int halfPoints = 0; // 0 = the base font's size
    int colour = 0;     // index into the colour table; 0 = base colour
    Qt::Alignment align = Qt::AlignLeft;
    int ucSkip = 1;
    Dest dest = Dest::Text;
};

bool isSkippedDestination(const QByteArray& word)
{
    static const char* const names[] = {"fonttbl",      "stylesheet", "info",
                                        "pict",         "header",     "footer",
                                        "headerl",      "headerr",    "headerf",
                                        "footerl",      "footerr",    "footerf",
                                        "object",       "listtable",  "listoverridetable",
                                        "rsidtbl",      "generator",  "filetbl",
                                        "revtbl",       "themedata",  "colorschememapping",
                                        "latentstyles", "datastore",  "xmlnstbl",
                                        "pgdsctbl",     "footnote",   "field",
                                        "fldinst",      "xe",         "tc",
                                        "bkmkstart",    "bkmkend",    "nonshppict",
                                        "shp",          "shpinst",    "template",
                                        "docvar",       "mmathPr",    "falt",
                                        "panose"};
    for (const char* n : names)
        if (word == n)
            return true;
    return false;
}

class Parser
{
public:
    Parser(const QByteArray& data, QTextDocument* doc, const QFont& baseFont,
           const QColor& baseColour)
        : m_data(data), m_cursor(doc), m_baseFont(baseFont), m_baseColour(baseColour)
    {
    }

    bool run();

private:
    State& st() { return m_stack.last(); }
    void pushGroup();
    void popGroup();
    void controlWord(const QByteArray& word, bool hasParam, int param);
    void controlSymbol(char c);
    void text(QChar c);
    void flush();
    void endParagraph();
    void openParagraph();
    QTextCharFormat charFormat() const;
    void skipAfterUnicode();
    void colourTableByte(char c);

    const QByteArray& m_data;
    qsizetype m_pos = 0;
    QTextCursor m_cursor;
    QFont m_baseFont;
    QColor m_baseColour;
    QList<State> m_stack;
    int m_overflow = 0; // groups opened beyond kMaxDepth
    bool m_ok = true;
    bool m_starIgnorable = false;
    bool m_needBlock = false; // a paragraph ended; the next one begins with its text
    QString m_run;
    State m_runState;
    QList<QColor> m_colours;
    int m_red = 0, m_green = 0, m_blue = 0;
    bool m_colourSet = false;
};

bool Parser::run()
{
    m_stack.append(State{});
    const qsizetype n = m_data.size();
    while (m_pos < n) {
        const char c = m_data[m_pos++];
        if (c == '{') {
            pushGroup();
        } else if (c == '}') {
            popGroup();
        } else if (c == '\\') {
            if (m_pos >= n) {
                m_ok = false; // truncated escape
                break;
            }
            const char d = m_data[m_pos];
            if ((d >= 'a' && d <= 'z') || (d >= 'A' && d <= 'Z')) {
                QByteArray word;
                while (m_pos < n && word.size() < 32 &&
                       ((m_data[m_pos] >= 'a' && m_data[m_pos] <= 'z') ||
                        (m_data[m_pos] >= 'A' && m_data[m_pos] <= 'Z')))
                    word.append(m_data[m_pos++]);
                bool negative = false, hasParam = false;
                long long value = 0;
                if (m_pos < n && m_data[m_pos] == '-' && m_pos + 1 < n &&
                    m_data[m_pos + 1] >= '0' && m_data[m_pos + 1] <= '9') {
                    negative = true;
                    ++m_pos;
                }
                int digits = 0;
                while (m_pos < n && digits < kMaxParamDigits && m_data[m_pos] >= '0' &&
                       m_data[m_pos] <= '9') {
                    value = value * 10 + (m_data[m_pos++] - '0');
                    hasParam = true;
                    ++digits;
                }
                if (m_pos < n && m_data[m_pos] == ' ')
                    ++m_pos; // the delimiting blank belongs to the control word
                value = std::clamp<long long>(negative ? -value : value, INT_MIN, INT_MAX);
                controlWord(word, hasParam, int(value));
            } else {
                ++m_pos;
                controlSymbol(d);
            }
        } else if (c == '\r' || c == '\n') {
            // line ends of the file carry no meaning
        } else if (st().dest == Dest::ColourTable) {
            colourTableByte(c);
        } else if (st().dest == Dest::Text) {
            text(RtfReader::fromCp1252(static_cast<unsigned char>(c)));
        }
    }
    if (m_stack.size() > 1 || m_overflow > 0)
        m_ok = false; // unclosed groups
    flush();
    if (!m_needBlock) {
        // the paragraph still open at the end keeps the alignment it had
        QTextBlockFormat bf = m_cursor.blockFormat();
        bf.setAlignment(m_stack.last().align);
        m_cursor.setBlockFormat(bf);
    }
    return m_ok;
}

void Parser::pushGroup()
{
    flush();
    if (m_stack.size() >= kMaxDepth) {
        ++m_overflow;
        m_ok = false;
        return;
    }
    m_stack.append(m_stack.last());
    m_starIgnorable = false;
}

void Parser::popGroup()
{
    flush();
    if (m_overflow > 0) {
        --m_overflow;
        return;
    }
    if (m_stack.size() <= 1) {
        m_ok = false; // a closing brace without its group
        return;
    }
    if (m_stack.last().dest == Dest::ColourTable && m_colourSet)
        colourTableByte(';');
    m_stack.removeLast();
}

void Parser::colourTableByte(char c)
{
    if (c != ';')
        return;
    m_colours.append(m_colourSet ? QColor(m_red, m_green, m_blue) : QColor());
    m_red = m_green = m_blue = 0;
    m_colourSet = false;
}

void Parser::controlWord(const QByteArray& w, bool hasParam, int p)
{
    State& s = st();
    if (s.dest == Dest::Skip)
        return;
    if (m_starIgnorable) {
        // {\* ...}: a destination this reader does not know
        m_starIgnorable = false;
        flush();
        s.dest = Dest::Skip;
        return;
    }
    if (s.dest == Dest::ColourTable) {
        const int v = std::clamp(p, 0, 255);
        if (w == "red")
            m_red = v, m_colourSet = true;
        else if (w == "green")
            m_green = v, m_colourSet = true;
        else if (w == "blue")
            m_blue = v, m_colourSet = true;
        return;
    }
    if (isSkippedDestination(w)) {
        flush();
        s.dest = Dest::Skip;
        return;
    }
    if (w == "colortbl") {
        flush();
        s.dest = Dest::ColourTable;
        m_colours.clear();
        return;
    }
    const bool on = !hasParam || p != 0;
    if (w == "par" || w == "sect" || w == "page") {
        endParagraph();
    } else if (w == "line") {
        text(QChar(QChar::LineSeparator));
    } else if (w == "tab") {
        text(QChar(u'\t'));
    } else if (w == "b") {
        s.bold = on;
    } else if (w == "i") {
        s.italic = on;
    } else if (w == "ul") {
        s.underline = on;
    } else if (w == "ulnone") {
        s.underline = false;
    } else if (w == "fs") {
        s.halfPoints = hasParam ? std::clamp(p, 0, 800) : 0;
    } else if (w == "cf") {
        s.colour = hasParam ? std::max(p, 0) : 0;
    } else if (w == "qc") {
        s.align = Qt::AlignHCenter;
    } else if (w == "ql") {
        s.align = Qt::AlignLeft;
    } else if (w == "qr") {
        s.align = Qt::AlignRight;
    } else if (w == "qj") {
        s.align = Qt::AlignJustify;
    } else if (w == "pard") {
        s.align = Qt::AlignLeft;
    } else if (w == "plain") {
        s.bold = s.italic = s.underline = false;
        s.halfPoints = 0;
        s.colour = 0;
    } else if (w == "uc") {
        s.ucSkip = std::clamp(p, 0, 8);
    } else if (w == "u" && hasParam) {
        int code = p;
        if (code < 0)
            code += 65536;
        const bool valid = code > 0 && code <= 0xFFFF && !QChar::isSurrogate(char16_t(code));
        text(valid ? QChar(char16_t(code)) : QChar(QChar::ReplacementCharacter));
        skipAfterUnicode();
    } else if (w == "bin") {
        // binary data: skip it whole
        m_pos = std::min<qsizetype>(m_data.size(), m_pos + std::max(p, 0));
    } else if (w == "emdash") {
        text(QChar(0x2014));
    } else if (w == "endash") {
        text(QChar(0x2013));
    } else if (w == "bullet") {
        text(QChar(0x2022));
    } else if (w == "lquote") {
        text(QChar(0x2018));
    } else if (w == "rquote") {
        text(QChar(0x2019));
    } else if (w == "ldblquote") {
        text(QChar(0x201C));
    } else if (w == "rdblquote") {
        text(QChar(0x201D));
    }
    // every other control word changes nothing we show
}

void Parser::skipAfterUnicode()
{
    // the stand-in characters after \u: each byte, \'hh or control word counts as one
    const qsizetype n = m_data.size();
    for (int left = st().ucSkip; left > 0 && m_pos < n; --left) {
        const char c = m_data[m_pos];
        if (c == '{' || c == '}')
            return;
        if (c == '\\') {
            if (m_pos + 1 >= n)
                return;
            const char d = m_data[m_pos + 1];
            if (d == '\'') {
                m_pos = std::min(n, m_pos + 4);
            } else if ((d >= 'a' && d <= 'z') || (d >= 'A' && d <= 'Z')) {
                m_pos += 1;
                while (m_pos < n && ((m_data[m_pos] >= 'a' && m_data[m_pos] <= 'z') ||
                                     (m_data[m_pos] >= 'A' && m_data[m_pos] <= 'Z')))
                    ++m_pos;
                if (m_pos < n && m_data[m_pos] == '-')
                    ++m_pos;
                while (m_pos < n && m_data[m_pos] >= '0' && m_data[m_pos] <= '9')
                    ++m_pos;
                if (m_pos < n && m_data[m_pos] == ' ')
                    ++m_pos;
            } else {
                m_pos += 2;
            }
        } else {
            ++m_pos;
        }
    }
}

void Parser::controlSymbol(char c)
{
    if (c == '*') {
        m_starIgnorable = true;
        return;
    }
    if (st().dest == Dest::Skip)
        return;
    switch (c) {
    case '\\':
    case '{':
    case '}':
        if (st().dest == Dest::Text)
            text(QChar(QLatin1Char(c)));
        break;
    case '~':
        text(QChar(0x00A0));
        break;
    case '_':
        text(QChar(0x2011));
        break;
    case '\n':
    case '\r':
        endParagraph(); // "\" before a line end is a paragraph mark
        break;
    case '\'': {
        const auto hex = [](char h) -> int {
            if (h >= '0' && h <= '9')
                return h - '0';
            if (h >= 'a' && h <= 'f')
                return h - 'a' + 10;
            if (h >= 'A' && h <= 'F')
                return h - 'A' + 10;
            return -1;
        };
        if (m_pos + 2 > m_data.size()) {
            m_ok = false;
            m_pos = m_data.size();
            return;
        }
        const int hi = hex(m_data[m_pos]), lo = hex(m_data[m_pos + 1]);
        if (hi < 0 || lo < 0) {
            m_ok = false; // leave the bytes to be read as text
            return;
        }
        m_pos += 2;
        if (st().dest == Dest::Text)
            text(RtfReader::fromCp1252(static_cast<unsigned char>(hi * 16 + lo)));
        break;
    }
    default:
        break; // \- optional hyphen, \| and the like: nothing to show
    }
}

QTextCharFormat Parser::charFormat() const
{
    const State& s = m_runState;
    QTextCharFormat f;
    QFont font = m_baseFont;
    font.setBold(s.bold);
    font.setItalic(s.italic);
    font.setUnderline(s.underline);
    if (s.halfPoints > 0)
        // half points at 96 dpi, and the low-vision look's text size
        font.setPixelSize(std::max(1, qRound((s.halfPoints * 2 + 1) / 3 * look::textScale())));
    f.setFont(font);
    QColor colour = m_baseColour;
    if (s.colour > 0 && s.colour < m_colours.size() && m_colours[s.colour].isValid())
        colour = m_colours[s.colour];
    f.setForeground(colour);
    return f;
}

void Parser::text(QChar c)
{
    const State& s = st();
    if (s.dest != Dest::Text)
        return;
    if (!m_run.isEmpty() &&
        (s.bold != m_runState.bold || s.italic != m_runState.italic ||
         s.underline != m_runState.underline || s.halfPoints != m_runState.halfPoints ||
         s.colour != m_runState.colour))
        flush();
    if (m_needBlock) {
        openParagraph();
        m_needBlock = false;
    }
    if (m_run.isEmpty())
        m_runState = s;
    m_run.append(c);
}

void Parser::flush()
{
    if (m_run.isEmpty())
        return;
    m_cursor.insertText(m_run, charFormat());
    m_run.clear();
}

void Parser::openParagraph()
{
    // the new paragraph's mark carries the current character format, so that an
    // empty line has the height of the text around it
    m_runState = st();
    m_cursor.insertBlock(m_cursor.blockFormat(), charFormat());
}

void Parser::endParagraph()
{
    if (st().dest != Dest::Text)
        return;
    flush();
    if (m_needBlock)
        openParagraph(); // an empty paragraph
    QTextBlockFormat bf = m_cursor.blockFormat();
    bf.setAlignment(st().align);
    m_cursor.setBlockFormat(bf);
    // the mark after the last paragraph opens none
    m_needBlock = true;
}

} // namespace

RtfReader::RtfReader(QTextDocument* document) : m_doc(document)
{
    if (m_doc)
        m_baseFont = m_doc->defaultFont();
}

QChar RtfReader::fromCp1252(unsigned char byte)
{
    static const char16_t high[32] = {
        0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};
    if (byte >= 0x80 && byte < 0xA0)
        return QChar(high[byte - 0x80]);
    return QChar(char16_t(byte));
}

bool RtfReader::read(const QByteArray& data)
{
    m_error.clear();
    if (!m_doc)
        return false;
    m_doc->clear();
    QByteArray head = data.left(16).trimmed();
    if (!head.startsWith("{\\rtf")) {
        // not rich text at all: show it as plain text
        QString plain;
        plain.reserve(data.size());
        for (char c : data)
            if (c != '\r')
                plain.append(fromCp1252(static_cast<unsigned char>(c)));
        QTextCursor cur(m_doc);
        QTextCharFormat f;
        f.setFont(m_baseFont);
        f.setForeground(m_baseColour);
        cur.insertText(plain, f);
        m_error = QStringLiteral("Kein RTF-Format");
        return false;
    }
    Parser parser(data, m_doc, m_baseFont, m_baseColour);
    const bool ok = parser.run();
    if (!ok)
        m_error = QStringLiteral("Fehlerhaftes RTF-Format");
    return ok;
}

bool RtfReader::readFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        m_error = file.errorString();
        if (m_doc)
            m_doc->clear();
        return false;
    }
    return read(file.readAll());
}

} // namespace gf

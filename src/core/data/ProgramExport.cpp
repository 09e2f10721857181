// The export text: tab-separated rows of the records the result walker finds.

#include "core/data/ProgramData.h"

#include "core/data/MessageSink.h"
#include "sys/DataFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace gf {

namespace {

// One export row is built in a fixed buffer and appended at once; the longest row
// (15 percentages of at most 10 characters) takes well under its size.
struct Row
{
    char text[512];
    int n = 0;

    void put(char c) { text[n++] = c; }
    void put(const char* s)
    {
        while (*s)
            text[n++] = *s++;
    }
    void two(int v)
    {
        put(char('0' + v / 10 % 10));
        put(char('0' + v % 10));
    }
    void dateTime(const CivilTime& t)
    {
        two(t.day);
        put('.');
        two(t.month);
        put('.');
        two(t.year / 100);
        two(t.year % 100);
        put('\t');
        two(t.hour);
        put(':');
        two(t.minute);
        put(':');
        two(t.second);
    }
    // numerator / denominator x 100 with two decimals, halves away from zero.
    void percent(quint32 numerator, quint32 denominator)
    {
        const quint64 hundredths =
            (quint64(numerator) * 20000 + denominator) / (2 * quint64(denominator));
        char digits[24];
        int d = 0;
        quint64 whole = hundredths / 100;
        do {
            digits[d++] = char('0' + whole % 10);
            whole /= 10;
        } while (whole != 0);
        while (d > 0)
            put(digits[--d]);
        put(',');
        two(int(hundredths % 100));
    }
    void appendTo(QByteArray& out) const { out.append(text, n); }
};

const char* modeText(quint16 mode)
{
    switch (mode) {
    case 1:
        return "H";
    case 2:
        return "S";
    case 3:
        return "HS";
    }
    return "";
}

// Date and time of a stamp; two empty fields for a stamp no calendar holds.
void putStamp(Row& row, const SerialDate& stamp)
{
    row.put('\t');
    CivilTime t;
    if (stamp.toCivil(t))
        row.dateTime(t);
    else
        row.put('\t');
}

void appendKatRow(QByteArray& out, const char* type, const tWortKatStat& r)
{
    Row row;
    row.put(type);
    putStamp(row, r.Stamp);
    for (int l = 1; l <= 4; ++l) {
        row.put('\t');
        if (r.AskedPerLevel[l] != 0)
            row.percent(r.CorrectPerLevel[l], r.AskedPerLevel[l]);
    }
    row.put("\r\n");
    row.appendTo(out);
}

template <typename Stat> void appendSeqRow(QByteArray& out, const char* type, const Stat& r)
{
    Row row;
    row.put(type);
    row.put('\t');
    row.put(modeText(r.Mode));
    putStamp(row, r.Stamp);
    for (int level = 1; level <= 15; ++level) {
        row.put('\t');
        if (r.MinLevel <= level && level <= r.MaxLevel && r.Trials.contains(level) &&
            r.Trials[level] != 0)
            row.percent(r.Correct[level], r.Trials[level]);
    }
    row.put("\r\n");
    row.appendTo(out);
}

// Writes the row of each record it is given.
struct RowWriter final : ResultVisitor
{
    QByteArray& out;
    QStringList undatedRecords;
    explicit RowWriter(QByteArray& o) : out(o) {}
    void undated(ExerciseKind, const QString& log, qint64 record) override
    {
        undatedRecords << undatedText(log, record);
    }
    void tel(const tTeleStat& r) override { appendSeqRow(out, "TEL", r); }
    void memo(const tBmpSndStat& r) override { appendSeqRow(out, "MEMO", r); }
    void wort(const tWortKatStat& r) override { appendKatRow(out, "WORT", r); }
    void bild(const tBmpKatStat& r) override { appendKatRow(out, "BILD", r); }
};

} // namespace

bool tProgramData::exportResultsTo(QByteArray& out, const tUser& user, bool useFrom, bool useTo,
                                   const QDate& fromDate, const QDate& toDate, int kind,
                                   QStringList* undated)
{
    const DayRange days{useFrom ? fromDate : QDate(), useTo ? toDate : QDate()};
    ExerciseKind kinds[2] = {ExerciseKind::Wort, ExerciseKind::Bild};
    if (kind == ekWortBild) {
        out.append("TYP\tDatum\tZeit\tS_I\tS_II\tS_III\tS_IV\t\r\n");
    } else {
        kinds[0] = ExerciseKind::Tel;
        kinds[1] = ExerciseKind::Memo;
        out.append("TYP\tModus\tDatum\tZeit");
        for (int level = 1; level <= 15; ++level)
            out.append("\tL_").append(QByteArray::number(level));
        out.append("\r\n");
    }
    RowWriter rows(out);
    QList<DamagedLog> damaged;
    for (ExerciseKind k : kinds)
        walkResults(user, k, days, rows, damaged);
    if (undated)
        *undated = rows.undatedRecords;
    if (damaged.isEmpty())
        return true;
    // An export that lacks records must not pass for a complete one.
    QStringList reasons;
    for (const DamagedLog& log : damaged)
        reasons.append(log.reason);
    plain(QStringLiteral("Fehler: ") + reasons.join(QStringLiteral("\n\r")));
    return false;
}

bool tProgramData::ExportResults(const tUser& user, const QString& fileName, bool useFrom,
                                 bool useTo, const QDate& fromDate, const QDate& toDate, int kind)
{
    if (const QString own = ownFileText(fileName); !own.isEmpty()) {
        report(own, mkFehlermeldung);
        return false;
    }
    QByteArray text;
    QStringList undated;
    if (!exportResultsTo(text, user, useFrom, useTo, fromDate, toDate, kind, &undated))
        return false;
    QString error;
    if (!files::replace(fileName, text, &error)) {
        report(QStringLiteral("Fehler beim Erstellen der Datei ") + fileName +
                   QStringLiteral(":\n\r") + error,
               mkFehlermeldung);
        return false;
    }
    if (!undated.isEmpty())
        report(QStringLiteral("Die Daten wurden exportiert, aber ohne Datum bei:\n\r") +
                   undated.join(QStringLiteral("\n\r")),
               mkAchtung);
    return true;
}

QString tProgramData::ownFileText(const QString& fileName) const
{
    static const QRegularExpression ownTail(
        QStringLiteral("^(TS|BS|WS|BK)(_\\d\\d_\\d\\d(_\\d+)?)?\\.dat$"),
        QRegularExpression::CaseInsensitiveOption);
    const QFileInfo target(fileName);
    const QString name = target.fileName();
    bool own = name.compare(QStringLiteral("std.cfg"), Qt::CaseInsensitive) == 0 ||
               name.compare(QStringLiteral("bmp.cfg"), Qt::CaseInsensitive) == 0;
    const QString folder = QFileInfo(target.absolutePath()).canonicalFilePath();
    if (!own && !folder.isEmpty() && folder == QFileInfo(DataDir).canonicalFilePath()) {
        own = name.endsWith(QStringLiteral(".mnu"), Qt::CaseInsensitive);
        // A summary or log of any detective of this folder: his name, then a tag.
        const QStringList users = listUsers();
        for (const QString& user : users)
            own = own || (name.startsWith(user, Qt::CaseInsensitive) &&
                          ownTail.match(name.mid(user.size())).hasMatch());
    }
    if (!own)
        return {};
    return QStringLiteral("Die Datei %1 gehört zu den Daten des Programms und wird nicht "
                          "überschrieben.\n\rBitte wählen Sie einen anderen Dateinamen.")
        .arg(QDir::toNativeSeparators(fileName));
}

} // namespace gf

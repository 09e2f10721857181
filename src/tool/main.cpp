// gripsfix-data: the data folder and the item tables without the program's windows.

#include "core/data/BinaryIO.h"
#include "core/data/Formats.h"
#include "core/data/MessageSink.h"
#include "core/data/ProgramData.h"
#include "core/results/ProgressReport.h"
#include "core/results/TrainingOverview.h"
#include "core/search/ItemTableText.h"
#include "core/search/ItemTables.h"
#include "render/OverviewPdf.h"
#include "render/ProgressReportPdf.h"
#include "sys/DataFiles.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringDecoder>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>

using namespace gf;

namespace {

// The first error of standard output; a full disk shows at the latest when it is flushed.
int outError = 0;

void writeOut(const QByteArray& bytes)
{
    if (std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout) != size_t(bytes.size()) &&
        outError == 0)
        outError = errno ? errno : EIO;
}

void writeErr(const QString& text)
{
    QString lines = text;
    lines.replace(QStringLiteral("\n\r"), QStringLiteral("\n"));
    lines.replace(u'\r', u'\n');
    const QByteArray bytes = lines.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
}

// The program's messages go to standard error; questions count as answered with OK.
class StderrSink final : public MessageSink
{
public:
    int message(const QString& text, int, int, int) override
    {
        writeErr(text);
        ++count;
        return mrOk;
    }
    void plainMessage(const QString& text) override
    {
        writeErr(text);
        ++count;
    }
    int count = 0;
};

int failure(const QString& text)
{
    writeErr(text);
    return 1;
}

const char* const Usage =
    "Aufruf:\n"
    "  gripsfix-data list DATENORDNER\n"
    "  gripsfix-data show DATENORDNER NAME\n"
    "  gripsfix-data export DATENORDNER NAME --kind search|sequence [--from TT.MM.JJJJ]\n"
    "                [--to TT.MM.JJJJ] [--out DATEI]\n"
    "  gripsfix-data report DATENORDNER NAME [--from TT.MM.JJJJ] [--to TT.MM.JJJJ]\n"
    "                --out DATEI.pdf|DATEI.json | --json\n"
    "  gripsfix-data overview DATENORDNER [--to TT.MM.JJJJ] --out DATEI.pdf|DATEI.json | --json\n"
    "  gripsfix-data register DATENORDNER NAME\n"
    "  gripsfix-data delete DATENORDNER NAME\n"
    "  gripsfix-data tables DATEI.cfg\n"
    "  gripsfix-data make-tables QUELLE.txt DATEI.cfg";

int usage()
{
    return failure(QString::fromUtf8(Usage));
}

// The exit status of a command that wrote to standard output.
int finishOutput()
{
    if (std::fflush(stdout) != 0 && outError == 0)
        outError = errno ? errno : EIO;
    if (outError == 0)
        return 0;
    return failure(QStringLiteral("Fehler: Die Ausgabe kann nicht geschrieben werden: ") +
                   files::causeText(outError) + u'.');
}

bool openDataDir(tProgramData& data, const QString& folder)
{
    if (!QFileInfo(folder).isDir()) {
        writeErr(QStringLiteral("Fehler: Der Ordner %1 existiert nicht.")
                     .arg(QDir::toNativeSeparators(folder)));
        return false;
    }
    // Stored log names are full paths, as the program writes them.
    data.setDataDir(QFileInfo(folder).absoluteFilePath());
    return true;
}

// Two detectives may carry one name in two spellings on disk (UTF-8 and Windows-1252).
// "Name (Windows-1252)" or "Name (UTF-8)" picks one; the bare name is refused then.
bool spellingOf(QString& name, const QString& folder)
{
    const QString cp1252 = QString::fromUtf16(tProgramData::Cp1252Suffix);
    const QString utf8 = QStringLiteral(" (UTF-8)");
    if (name.endsWith(cp1252) || name.endsWith(utf8)) {
        files::preferCp1252(name.endsWith(cp1252));
        name.chop(name.endsWith(cp1252) ? cp1252.size() : utf8.size());
        return true;
    }
    const QString trimmed = name.trimmed();
    if (!files::hasTwoSpellings(QDir(folder).filePath(trimmed + QStringLiteral(".mnu"))))
        return true;
    writeErr(QStringLiteral("Fehler: Den Namen %1 tragen zwei Detektive: die Datei %1.mnu gibt "
                            "es in UTF-8 und in Windows-1252.\nBitte „%1 (UTF-8)“ oder „%1%2“ "
                            "angeben.")
                 .arg(trimmed, cp1252));
    return false;
}

bool openUser(tProgramData& data, const QString& folder, const QString& given)
{
    QString name = given;
    if (!openDataDir(data, folder) || !spellingOf(name, folder))
        return false;
    data.UserName = name;
    return data.openUser();
}

QJsonArray numbers(const auto& values)
{
    QJsonArray array;
    for (const auto& v : values)
        array.append(double(v));
    return array;
}

int show(tProgramData& data, const QString& folder, const QString& name)
{
    if (!openUser(data, folder, name))
        return 1;
    // The file names are those the program uses: in the data folder.
    const tUser* user = data.CurrentUser.get();
    QJsonObject o;
    o.insert(QStringLiteral("name"), user->Name);
    o.insert(QStringLiteral("regDate"), user->RegDate.date().toString(Qt::ISODate));
    o.insert(QStringLiteral("regSlot"), user->RegSlot);
    o.insert(QStringLiteral("telLevel"), numbers(user->TelLevel));
    o.insert(QStringLiteral("memoLevel"), numbers(user->MemoLevel));
    o.insert(QStringLiteral("telFiles"), QJsonArray::fromStringList(user->TelFiles));
    o.insert(QStringLiteral("memoFiles"), QJsonArray::fromStringList(user->MemoFiles));
    o.insert(QStringLiteral("wortFiles"), QJsonArray::fromStringList(user->WortFiles));
    o.insert(QStringLiteral("bildFiles"), QJsonArray::fromStringList(user->BildFiles));
    o.insert(QStringLiteral("telSumFile"), user->TelSumFile);
    o.insert(QStringLiteral("memoSumFile"), user->MemoSumFile);
    o.insert(QStringLiteral("wortSumFile"), user->WortSumFile);
    o.insert(QStringLiteral("bildSumFile"), user->BildSumFile);
    QJsonArray logs;
    for (const tEntry& e : user->Logs) {
        QJsonObject log;
        log.insert(QStringLiteral("lastDate"),
                   e.LastDate.toDateTime().toString(QStringLiteral("yyyy-MM-dd'T'HH:mm:ss")));
        log.insert(QStringLiteral("fileName"), e.FileName);
        logs.append(log);
    }
    o.insert(QStringLiteral("logs"), logs);
    QJsonObject s;
    s.insert(QStringLiteral("telBest"), numbers(data.TelBest));
    s.insert(QStringLiteral("telAvg"), numbers(data.TelAvg));
    s.insert(QStringLiteral("telCount"), numbers(data.TelCount));
    s.insert(QStringLiteral("memoBest"), numbers(data.MemoBest));
    s.insert(QStringLiteral("memoAvg"), numbers(data.MemoAvg));
    s.insert(QStringLiteral("memoCount"), numbers(data.MemoCount));
    s.insert(QStringLiteral("wortAvg"), numbers(data.WortAvg));
    s.insert(QStringLiteral("wortCount"), numbers(data.WortCount));
    s.insert(QStringLiteral("bildAvg"), numbers(data.BildAvg));
    s.insert(QStringLiteral("bildCount"), numbers(data.BildCount));
    o.insert(QStringLiteral("summary"), s);
    writeOut(QJsonDocument(o).toJson(QJsonDocument::Indented));
    return finishOutput();
}

int exportResults(tProgramData& data, const QStringList& args)
{
    if (args.size() < 4)
        return usage();
    int kind = -1;
    std::optional<QDate> from, to;
    QString out;
    for (qsizetype i = 4; i < args.size(); ++i) {
        const QString& option = args[i];
        if (i + 1 >= args.size())
            return usage();
        const QString value = args[++i];
        if (option == u"--kind") {
            if (value == u"search")
                kind = ekWortBild;
            else if (value == u"sequence")
                kind = ekTelMemo;
            else
                return usage();
        } else if (option == u"--from" || option == u"--to") {
            const auto date = parseShortDate(value);
            if (!date)
                return failure(QStringLiteral("Ungültige Datumsangabe"));
            (option == u"--from" ? from : to) = date;
        } else if (option == u"--out") {
            out = value;
        } else {
            return usage();
        }
    }
    if (kind < 0)
        return usage();
    if (const QString wrong = DayRange{from.value_or(QDate()), to.value_or(QDate())}.orderError();
        !wrong.isEmpty())
        return failure(QStringLiteral("Fehler: ") + wrong);
    if (!openUser(data, args[2], args[3]))
        return 1;
    const tUser& user = *data.CurrentUser;
    const QDate fromDate = from.value_or(QDate()), toDate = to.value_or(QDate());
    if (!out.isEmpty())
        if (const QString own = data.ownFileText(out); !own.isEmpty())
            return failure(QStringLiteral("Fehler: ") + own);
    QByteArray text;
    QStringList undated;
    if (!data.exportResultsTo(text, user, from.has_value(), to.has_value(), fromDate, toDate, kind,
                              &undated))
        return 1;
    // Their rows stay, with empty date fields; the export is not a clean one.
    for (const QString& record : undated)
        writeErr(QStringLiteral("Fehler: ") + record);
    const int status = undated.isEmpty() ? 0 : 2;
    if (!out.isEmpty()) {
        QString error;
        if (!files::replace(out, text, &error))
            return failure(QStringLiteral("Fehler: ") + error);
        return status;
    }
    writeOut(text);
    const int written = finishOutput();
    return written != 0 ? written : status;
}

// --from and --to as German dates; false (after the message) for a date that is none.
bool readPeriod(const QString& option, const QString& value, std::optional<QDate>& from,
                std::optional<QDate>& to)
{
    const auto date = parseShortDate(value);
    if (!date) {
        writeErr(QStringLiteral("Ungültige Datumsangabe"));
        return false;
    }
    (option == u"--from" ? from : to) = date;
    return true;
}

bool isPdfName(const QString& name)
{
    return name.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive);
}

// The options of a command whose result is JSON or a PDF file.
struct ResultOptions
{
    std::optional<QDate> from, to;
    QString out;
    bool json = false;
};

// Reads --json, --out FILE, --to and (withFrom) --from from args[first] on; 0, or the
// exit status after the usage or the error has been written.
int readResultOptions(const QStringList& args, qsizetype first, bool withFrom, ResultOptions& o)
{
    for (qsizetype i = first; i < args.size(); ++i) {
        const QString& option = args[i];
        if (option == u"--json") {
            o.json = true;
            continue;
        }
        if (i + 1 >= args.size())
            return usage();
        const QString value = args[++i];
        if (option == u"--to" || (withFrom && option == u"--from")) {
            if (!readPeriod(option, value, o.from, o.to))
                return 1;
        } else if (option == u"--out") {
            o.out = value;
        } else {
            return usage();
        }
    }
    if (o.json == !o.out.isEmpty() ||
        (!o.out.isEmpty() && !isPdfName(o.out) &&
         !o.out.endsWith(QStringLiteral(".json"), Qt::CaseInsensitive)))
        return usage();
    return 0;
}

// Writes the result as a PDF file, as JSON on standard output or as a JSON file; the
// exit status is `status` unless writing failed.
int writeResult(const ResultOptions& o, int status, const std::function<bool(QString*)>& writePdf,
                const std::function<QJsonObject()>& json)
{
    QString error;
    if (isPdfName(o.out)) {
        if (!writePdf(&error))
            return failure(QStringLiteral("Fehler: ") + error);
        return status;
    }
    const QByteArray text = QJsonDocument(json()).toJson(QJsonDocument::Indented);
    if (o.json) {
        writeOut(text);
        const int written = finishOutput();
        return written != 0 ? written : status;
    }
    if (!files::replace(o.out, text, &error))
        return failure(QStringLiteral("Fehler: ") + error);
    return status;
}

// The course of the training week by week, from the stored logs: JSON or a PDF. Exit
// status 2 when logs could not be read (they are named; the report says it is
// incomplete).
int report(tProgramData& data, const QStringList& args)
{
    if (args.size() < 4)
        return usage();
    ResultOptions o;
    if (const int wrong = readResultOptions(args, 4, true, o))
        return wrong;
    const std::optional<QDate>&from = o.from, &to = o.to;
    if (const QString wrong = DayRange{from.value_or(QDate()), to.value_or(QDate())}.orderError();
        !wrong.isEmpty())
        return failure(QStringLiteral("Fehler: ") + wrong);
    if (!openUser(data, args[2], args[3]))
        return 1;
    const tProgressReport r = buildProgressReport(
        *data.CurrentUser, DayRange{from.value_or(QDate()), to.value_or(QDate())});
    for (const DamagedLog& log : r.damaged)
        writeErr(QStringLiteral("Fehler: ") + log.reason);
    for (const tReportLeftOut& record : r.undated)
        writeErr(QStringLiteral("Fehler: ") + record.text);
    for (const tReportLeftOut& value : r.outOfRange)
        writeErr(QStringLiteral("Nicht im Bericht, da unmöglich: ") + value.text);
    if (!r.complete())
        writeErr(QStringLiteral("Der Bericht ist unvollständig."));
    return writeResult(
        o, r.complete() ? 0 : 2,
        [&](QString* error) {
            return writeProgressReportPdf(r, o.out, QDate::currentDate(), error);
        },
        [&] { return progressReportJson(r); });
}

// One row per detective of the folder: last training day, exercises of the last 7 and
// 28 days, and the trend of each work area. Exit status 2 when files could not be read
// (they are named; the overview says it is incomplete).
int overview(tProgramData& data, const QStringList& args)
{
    ResultOptions o;
    if (const int wrong = readResultOptions(args, 3, false, o))
        return wrong;
    const QString& out = o.out;
    if (!openDataDir(data, args[2]))
        return 1;
    if (!out.isEmpty())
        if (const QString own = data.ownFileText(out); !own.isEmpty())
            return failure(QStringLiteral("Fehler: ") + own);
    const tOverview v = buildOverview(data, o.to.value_or(QDate::currentDate()));
    for (const DamagedLog& log : v.damaged)
        writeErr(QStringLiteral("Fehler: ") + log.reason);
    for (const QString& record : v.undated)
        writeErr(QStringLiteral("Fehler: ") + record);
    for (const QString& value : v.outOfRange)
        writeErr(QStringLiteral("Nicht in der Übersicht, da unmöglich: ") + value);
    if (!v.complete())
        writeErr(QStringLiteral("Die Übersicht ist unvollständig."));
    return writeResult(
        o, v.complete() ? 0 : 2, [&](QString* error) { return writeOverviewPdf(v, out, error); },
        [&] { return overviewJson(v); });
}

int tables(const QString& fileName)
{
    DataFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return failure(QStringLiteral("Fehler: ") + file.errorText());
    ItemTableFile contents;
    QString error;
    if (!readItemTables(file, QFileInfo(fileName).fileName(), contents, &error))
        return failure(QStringLiteral("Fehler: ") + error);
    writeOut(formatItemTableText(contents).toUtf8());
    return finishOutput();
}

// The size limit of the program's item-table loader.

// Reads the source text line by line and works out the size of the file it makes, so
// that a source the loader would refuse (too many tables, too large) is refused at the
// line that goes too far, before it is parsed into tables.
bool readTableSource(DataFile& in, const QString& label, QString& text, QString* error)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    qint64 size = 2 + itemlimits::SettingsSize; // table count, settings
    int tables = 0;
    for (int lineNo = 1; !in.atEnd(); ++lineNo) {
        const QByteArray bytes = in.readLine();
        if (in.error() != QFileDevice::NoError)
            return false;
        const QString raw = utf8(bytes);
        if (utf8.hasError()) {
            *error = QStringLiteral("Fehler: %1 ist kein UTF-8-Text.").arg(label);
            return false;
        }
        text += raw;
        const QString line = raw.trimmed();
        if (line.startsWith(QStringLiteral("Tabelle:"))) {
            ++tables;
            size += SlotSize + 4 + 4; // name, rows and columns, text line count
        } else if (line.startsWith(QStringLiteral("Zeile:"))) {
            size += qint64(line.count(u'|') + 1) * SlotSize;
        } else if (line.startsWith(QStringLiteral("Text:"))) {
            size += SlotSize;
        }
        if (tables > 0xFFFF || size > itemlimits::MaxFileSize) {
            *error = QStringLiteral("%1: Fehler in Zeile %2: ").arg(label).arg(lineNo) +
                     (tables > 0xFFFF ? QStringLiteral("mehr als 65535 Tabellen.")
                                      : QStringLiteral("die Tabellen werden größer als 64 MB, "
                                                       "mehr als das Programm lädt."));
            return false;
        }
    }
    return true;
}

int makeTables(const QString& source, const QString& target)
{
    DataFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return failure(QStringLiteral("Fehler: ") + in.errorText());
    const QString label = QDir::toNativeSeparators(source);
    QString text, error;
    if (!readTableSource(in, label, text, &error))
        return failure(error.isEmpty() ? QStringLiteral("Fehler: ") + in.errorText() : error);
    ItemTableFile contents;
    if (!parseItemTableText(text, contents, &error))
        return failure(label + QStringLiteral(": ") + error);
    // Whatever is written, the loader must take.
    QByteArray bytes = writeItemTables(contents);
    QBuffer check(&bytes);
    check.open(QIODevice::ReadOnly);
    ItemTableFile loaded;
    if (!readItemTables(check, QFileInfo(target).fileName(), loaded, &error))
        return failure(QStringLiteral("Fehler: ") + error);
    if (!files::replace(target, bytes, &error))
        return failure(QStringLiteral("Fehler: ") + error);
    // Every user of an installation reads its tables; they are not private like the
    // detectives' data that the same primitive writes.
    QFile::setPermissions(target, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                      QFileDevice::ReadGroup | QFileDevice::ReadOther);
    return 0;
}

} // namespace

// Only a PDF report draws, and only drawing needs the GUI library.
bool drawsPdf(int argc, char** argv)
{
    if (argc < 2 || (std::strcmp(argv[1], "report") != 0 && std::strcmp(argv[1], "overview") != 0))
        return false;
    for (int i = 2; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "--out") == 0 && isPdfName(QString::fromLocal8Bit(argv[i + 1])))
            return true;
    return false;
}

int main(int argc, char** argv)
{
    std::unique_ptr<QCoreApplication> app;
    if (drawsPdf(argc, argv)) {
#if !defined(Q_OS_WIN) && !defined(Q_OS_MACOS)
        // Without a display the drawing still works off screen.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") &&
            qEnvironmentVariableIsEmpty("DISPLAY") &&
            qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
        // The platform's notes (no runtime folder and the like) are no concern of the
        // therapist's; the tool's own messages do not pass through here.
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
            if (type == QtCriticalMsg || type == QtFatalMsg)
                writeErr(text);
        });
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    const QStringList args = app->arguments();
    if (args.size() < 3)
        return usage();
    const QString command = args[1];

    StderrSink sink;
    tProgramData data(&sink);

    if (command == u"list" && args.size() == 3) {
        if (!openDataDir(data, args[2]))
            return 1;
        for (const QString& name : data.listUserSpellings())
            writeOut(name.toUtf8() + '\n');
        return finishOutput();
    }
    if (command == u"show" && args.size() == 4)
        return show(data, args[2], args[3]);
    if (command == u"export")
        return exportResults(data, args);
    if (command == u"report")
        return report(data, args);
    if (command == u"overview")
        return overview(data, args);
    if (command == u"register" && args.size() == 4) {
        if (!openDataDir(data, args[2]))
            return 1;
        return data.registerUser(args[3], 1) ? 0 : 1;
    }
    if (command == u"delete" && args.size() == 4) {
        QString name = args[3];
        if (!openDataDir(data, args[2]) || !spellingOf(name, args[2]))
            return 1;
        return data.deleteUser(name) ? 0 : 1;
    }
    if (command == u"tables" && args.size() == 3)
        return tables(args[2]);
    if (command == u"make-tables" && args.size() == 4)
        return makeTables(args[2], args[3]);
    return usage();
}

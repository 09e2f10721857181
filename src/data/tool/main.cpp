// gripsfix-data: the data folder and the item tables without the program's windows.

#include "data/BinaryIO.h"
#include "data/FileFormats.h"
#include "data/Formats.h"
#include "data/MessageSink.h"
#include "data/ProgramData.h"
#include "search/ItemTableText.h"
#include "search/ItemTables.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringDecoder>

#include <cstdio>

using namespace gf;

namespace {

void writeOut(const QByteArray& bytes)
{
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
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
    "  gripsfix-data register DATENORDNER NAME\n"
    "  gripsfix-data delete DATENORDNER NAME\n"
    "  gripsfix-data tables DATEI.cfg\n"
    "  gripsfix-data make-tables QUELLE.txt DATEI.cfg";

int usage()
{
    return failure(QString::fromUtf8(Usage));
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

bool openUser(tProgramData& data, const QString& folder, const QString& name)
{
    if (!openDataDir(data, folder))
        return false;
    data.UserName = name;
    return data.OpenUser();
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
    // The names as stored; the loaded record has them resolved in the data folder.
    QFile file(data.UserFileName);
    QList<std::shared_ptr<tUser>> stored;
    if (!file.open(QIODevice::ReadOnly) ||
        fileformat::readUserFile(file.readAll(), stored) != fileformat::ReadResult::Ok)
        return failure(QStringLiteral("Fehler: ") + shortFileText(data.UserFileName));
    std::shared_ptr<tUser> user;
    for (const auto& u : stored)
        if (u->Name == name) {
            user = u;
            break;
        }
    if (!user)
        return failure(QStringLiteral("Fehler: Detektiv ") + name +
                       QStringLiteral(" existiert nicht!"));

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
    return 0;
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
            const auto date = ParseShortDate(value);
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
    if (!openUser(data, args[2], args[3]))
        return 1;
    const tUser& user = *data.CurrentUser;
    const QDate fromDate = from.value_or(QDate()), toDate = to.value_or(QDate());
    if (!out.isEmpty())
        return data.ExportResults(user, out, from.has_value(), to.has_value(), fromDate, toDate,
                                  kind)
                   ? 0
                   : 1;
    QByteArray text;
    if (!data.ExportResultsTo(text, user, from.has_value(), to.has_value(), fromDate, toDate, kind))
        return 1;
    writeOut(text);
    return std::fflush(stdout) == 0 ? 0 : failure(QStringLiteral("Fehler beim Schreiben."));
}

int tables(const QString& fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return failure(QStringLiteral("Fehler: ") + fileErrorText(file));
    ItemTableFile contents;
    QString error;
    if (!ReadItemTables(file, QFileInfo(fileName).fileName(), contents, &error))
        return failure(QStringLiteral("Fehler: ") + error);
    writeOut(FormatItemTableText(contents).toUtf8());
    return 0;
}

int makeTables(const QString& source, const QString& target)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return failure(QStringLiteral("Fehler: ") + fileErrorText(in));
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8(in.readAll());
    if (utf8.hasError())
        return failure(QStringLiteral("Fehler: %1 ist kein UTF-8-Text.")
                           .arg(QDir::toNativeSeparators(source)));
    ItemTableFile contents;
    QString error;
    if (!ParseItemTableText(text, contents, &error))
        return failure(QDir::toNativeSeparators(source) + QStringLiteral(": ") + error);
    if (!replaceFile(target, WriteItemTables(contents), &error))
        return failure(QStringLiteral("Fehler: ") + error);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3)
        return usage();
    const QString command = args[1];

    StderrSink sink;
    tProgramData data(&sink);

    if (command == u"list" && args.size() == 3) {
        if (!openDataDir(data, args[2]))
            return 1;
        for (const QString& name : data.ListUsers())
            writeOut(name.toUtf8() + '\n');
        return 0;
    }
    if (command == u"show" && args.size() == 4)
        return show(data, args[2], args[3]);
    if (command == u"export")
        return exportResults(data, args);
    if (command == u"register" && args.size() == 4) {
        if (!openDataDir(data, args[2]))
            return 1;
        return data.RegisterUser(args[3], 1) ? 0 : 1;
    }
    if (command == u"delete" && args.size() == 4) {
        if (!openDataDir(data, args[2]))
            return 1;
        return data.DeleteUser(args[3]) ? 0 : 1;
    }
    if (command == u"tables" && args.size() == 3)
        return tables(args[2]);
    if (command == u"make-tables" && args.size() == 4)
        return makeTables(args[2], args[3]);
    return usage();
}

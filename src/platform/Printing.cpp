#include "platform/Printing.h"

#include "platform/DataFolder.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QMutex>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QProcess>
#include <QRegularExpression>

#include <atomic>

namespace gf {

namespace {

QMutex g_mutex;
std::shared_ptr<PrintBackend> g_backend;
QString g_testTarget;
std::atomic<int> g_answerMs{kPrintAnswerMs};

struct ClientAnswer
{
    bool started = false;
    bool finished = false; // within the time given
    int exitCode = -1;
    QString out;
    QString err;
};

// One run of a print client, killed at the deadline. English output whatever the
// locale, as it is read by the program.
ClientAnswer runClient(const QString& program, const QStringList& args,
                       const QDeadlineTimer& deadline)
{
    ClientAnswer answer;
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    env.insert(QStringLiteral("LANG"), QStringLiteral("C"));
    process.setProcessEnvironment(env);
    process.start(program, args);
    if (!process.waitForStarted(int(std::max<qint64>(deadline.remainingTime(), 1))))
        return answer;
    answer.started = true;
    process.closeWriteChannel();
    if (!process.waitForFinished(int(std::max<qint64>(deadline.remainingTime(), 1)))) {
        process.kill();
        process.waitForFinished(1000);
        return answer;
    }
    answer.finished = true;
    answer.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    answer.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    answer.err = QString::fromLocal8Bit(process.readAllStandardError()).trimmed();
    return answer;
}

// The clients' messages start with their own name ("lp: "), which means nothing to
// the person reading the message.
QString withoutClientName(QString text)
{
    static const QRegularExpression prefix(QStringLiteral("^\\w+: "));
    return text.remove(prefix).trimmed();
}

class CupsBackend final : public PrintBackend
{
public:
    explicit CupsBackend(int timeoutMs) : m_timeoutMs(timeoutMs) {}

    PrinterSearch findPrinters() override
    {
        PrinterSearch search;
        const ClientAnswer a =
            runClient(QStringLiteral("lpstat"), {QStringLiteral("-d"), QStringLiteral("-a")},
                      QDeadlineTimer(timeoutMs()));
        if (!a.started)
            return search; // no clients, no print system
        if (!a.finished) {
            search.timedOut = true;
            return search;
        }
        // "lpstat: No destinations added." still comes from a running scheduler.
        search.systemFound = a.exitCode == 0 || a.err.contains(QLatin1String("No destinations"));
        QString defaultName;
        static const QString defaultTag = QStringLiteral("system default destination: ");
        for (const QString& line : a.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
            if (line.startsWith(defaultTag)) {
                defaultName = line.mid(defaultTag.size()).trimmed();
            } else if (!line.front().isSpace() && !line.startsWith(QLatin1String("no system"))) {
                const QString name = line.section(QLatin1Char(' '), 0, 0);
                if (!name.isEmpty())
                    search.printers.append({name, false});
            }
        }
        for (PrinterEntry& p : search.printers)
            p.isDefault = p.name == defaultName;
        return search;
    }

    PrintJobResult submit(const QString& printer, const QString& pdfPath,
                          const QString& title) override
    {
        const QDeadlineTimer deadline(timeoutMs());
        PrintJobResult result;
        const ClientAnswer lp = runClient(QStringLiteral("lp"),
                                          {QStringLiteral("-d"), printer, QStringLiteral("-t"),
                                           title, QStringLiteral("--"), pdfPath},
                                          deadline);
        if (!lp.finished) {
            result.kind = lp.started ? PrintJobResult::NoAnswer : PrintJobResult::Failed;
            return result;
        }
        if (lp.exitCode != 0) {
            const QString said = lp.err.isEmpty() ? lp.out.trimmed() : lp.err;
            result.kind = said.contains(QLatin1String("not accepting"), Qt::CaseInsensitive)
                              ? PrintJobResult::Refused
                              : PrintJobResult::Failed;
            result.reason = withoutClientName(said);
            if (result.kind == PrintJobResult::Refused) {
                const QString why = queueReason(printer, QStringLiteral("-a"), deadline);
                if (!why.isEmpty())
                    result.reason = why;
            }
            return result;
        }
        static const QRegularExpression id(QStringLiteral("request id is (\\S+)"));
        result.jobId = id.match(lp.out).captured(1);

        // A disabled queue takes a job and keeps it; nobody would hear of it otherwise.
        const ClientAnswer state =
            runClient(QStringLiteral("lpstat"), {QStringLiteral("-p"), printer}, deadline);
        if (!state.finished) {
            result.kind = PrintJobResult::NoAnswer;
            return result;
        }
        const QString first = state.out.section(QLatin1Char('\n'), 0, 0);
        if (state.exitCode == 0 && first.contains(QLatin1String(" disabled"))) {
            result.kind = PrintJobResult::QueueStopped;
            result.reason = indentedLines(state.out);
            return result;
        }
        result.kind = PrintJobResult::Accepted;
        return result;
    }

private:
    int timeoutMs() const { return m_timeoutMs > 0 ? m_timeoutMs : printAnswerMs(); }

    // The reason lines lpstat prints below a queue, indented; CUPS's placeholder for a
    // queue stopped without one says nothing.
    static QString indentedLines(const QString& out)
    {
        QStringList lines;
        for (const QString& line : out.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
            if (line.front().isSpace() && !line.trimmed().isEmpty() &&
                line.trimmed() != QLatin1String("reason unknown"))
                lines << line.trimmed();
        return lines.join(QLatin1Char(' '));
    }

    QString queueReason(const QString& printer, const QString& option,
                        const QDeadlineTimer& deadline) const
    {
        const ClientAnswer a = runClient(QStringLiteral("lpstat"), {option, printer}, deadline);
        return a.finished ? indentedLines(a.out) : QString();
    }

    int m_timeoutMs;
};

} // namespace

std::unique_ptr<QPaintDevice> PrintBackend::makePage(const QString& pdfPath, const QString& title)
{
    return createPdfWriter(pdfPath, title);
}

std::shared_ptr<PrintBackend> makeCupsBackend(int timeoutMs)
{
    return std::make_shared<CupsBackend>(timeoutMs);
}

int printAnswerMs()
{
    return g_answerMs;
}

void setPrintAnswerMs(int ms)
{
    g_answerMs = ms > 0 ? ms : kPrintAnswerMs;
}

std::shared_ptr<PrintBackend> printBackend()
{
    QMutexLocker lock(&g_mutex);
    if (!g_backend)
        g_backend = makeCupsBackend();
    return g_backend;
}

void setPrintBackend(std::shared_ptr<PrintBackend> backend)
{
    QMutexLocker lock(&g_mutex);
    g_backend = std::move(backend);
}

QString printJobTitle(const QString& name, const QString& what, const QDate& date)
{
    const QString who = name.trimmed().isEmpty() ? QStringLiteral("-") : name.trimmed();
    return QStringLiteral("Grips-Fix – %1 – %2 – %3")
        .arg(who, what, date.toString(QStringLiteral("dd.MM.yyyy")));
}

QString pdfFolder()
{
    QString dir = commonDocumentsDir();
    // A PDF aimed at a folder that does not exist would fail without a word.
    if (dir.isEmpty() || !QFileInfo(dir).isDir())
        dir = QDir::homePath();
    return QDir::cleanPath(dir);
}

QString pdfFileFor(const QString& folder, const QString& title)
{
    static const QRegularExpression unsafe(QStringLiteral("[\\\\/:*?\"<>|\\x00-\\x1f]"));
    QString base = title;
    base.replace(unsafe, QStringLiteral("_"));
    const QDir dir(folder);
    QString path = dir.filePath(base + QStringLiteral(".pdf"));
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = dir.filePath(QStringLiteral("%1 (%2).pdf").arg(base).arg(n));
    return path;
}

std::unique_ptr<QPdfWriter> createPdfWriter(const QString& pdfPath, const QString& title)
{
    auto writer = std::make_unique<QPdfWriter>(pdfPath);
    writer->setResolution(600);
    writer->setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape,
                                      QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
    writer->setCreator(QStringLiteral("Grips-Fix"));
    writer->setTitle(title);
    return writer;
}

void setPrintTargetForTests(const QString& pdfPath)
{
    QMutexLocker lock(&g_mutex);
    g_testTarget = pdfPath;
}

QString printTargetForTests()
{
    QMutexLocker lock(&g_mutex);
    return g_testTarget;
}

} // namespace gf

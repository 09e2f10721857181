#include "data/ProgramData.h"

#include "data/BinaryIO.h"
#include "data/FileFormats.h"
#include "data/MessageSink.h"
#include "data/Timing.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace gf {

namespace ff = fileformat;

namespace {

constexpr int UserHelpContext = 2222;
// Room a file name needs beyond the detective's name: "TS_04_03_9.dat" for a numbered
// log, or "TS.dat" and the ".XXXXXX" of the temporary file that replaces it.
constexpr int SuffixRoom = 16;

QString lastComponent(const QString& path)
{
    const qsizetype cut = std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'));
    return path.mid(cut + 1);
}

bool hasFolderPart(const QString& path)
{
    return path.contains(u'/') || path.contains(u'\\');
}

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

// The date filter of the export on calendar days; a stamp without a calendar date
// passes only when no limit is set.
struct DateFilter
{
    bool useFrom, useTo;
    int from, to; // yyyymmdd

    bool passes(const SerialDate& stamp, CivilTime& t) const
    {
        if (!stamp.toCivil(t))
            return !useFrom && !useTo;
        const int day = t.year * 10000 + t.month * 100 + t.day;
        return !(useFrom && day < from) && !(useTo && to < day);
    }
};

void putStamp(Row& row, bool valid, const CivilTime& t)
{
    row.put('\t');
    if (valid)
        row.dateTime(t);
    else
        row.put('\t');
}

void appendKatRow(QByteArray& out, const char* type, const tWortKatStat& r, const CivilTime& t,
                  bool valid)
{
    Row row;
    row.put(type);
    putStamp(row, valid, t);
    for (int l = 1; l <= 4; ++l) {
        row.put('\t');
        if (r.AskedPerLevel[l] != 0)
            row.percent(r.CorrectPerLevel[l], r.AskedPerLevel[l]);
    }
    row.put("\r\n");
    row.appendTo(out);
}

template <typename Stat>
void appendSeqRow(QByteArray& out, const char* type, const Stat& r, const CivilTime& t, bool valid)
{
    Row row;
    row.put(type);
    row.put('\t');
    row.put(modeText(r.Mode));
    putStamp(row, valid, t);
    for (int level = 1; level <= 15; ++level) {
        row.put('\t');
        if (r.MinLevel <= level && level <= r.MaxLevel && r.Trials.contains(level) &&
            r.Trials[level] != 0)
            row.percent(r.Correct[level], r.Trials[level]);
    }
    row.put("\r\n");
    row.appendTo(out);
}

} // namespace

// ---- construction ---------------------------------------------------------------

tProgramData::tProgramData(MessageSink* sink, Clock* clock) : m_sink(sink), m_clock(clock)
{
    SessionStart = this->clock().now();
    ResetSummaries();
}

tProgramData::~tProgramData() = default;

Clock& tProgramData::clock() const
{
    return m_clock ? *m_clock : systemClock();
}

void tProgramData::setDataDir(const QString& folder)
{
    DataDir = QDir::fromNativeSeparators(folder);
    if (!DataDir.isEmpty() && !DataDir.endsWith(u'/'))
        DataDir += u'/';
}

void tProgramData::report(const QString& text, int kind, int helpContext) const
{
    if (m_sink)
        m_sink->message(text, kind, btn::OK, helpContext);
}

void tProgramData::plain(const QString& text) const
{
    if (m_sink)
        m_sink->plainMessage(text);
}

QString tProgramData::SupportContact()
{
    // Trainees use the program under care: their therapist is the first to ask.
    return QStringLiteral("Ihre Therapeutin oder Ihren Therapeuten\n\roder den Grips-Fix-"
                          "Kundendienst der Firma Tannwald");
}

QString tProgramData::UserInfoUnavailableText()
{
    return QStringLiteral("Die Benutzerinformationen sind nicht verfügbar! \n\rBitte wenden Sie "
                          "sich an: \n\r\n\r") +
           SupportContact();
}

// ---- names ------------------------------------------------------------------------

bool tProgramData::IsSafeFileStem(const QString& name)
{
    if (name.isEmpty() || name == u"." || name == u"..")
        return false;
    for (QChar c : name)
        if (c == u'/' || c == u'\\' || c.unicode() == 0)
            return false;
    return true;
}

QString tProgramData::CheckNewUserName(const QString& name)
{
    if (name.isEmpty())
        return QStringLiteral("Bitte geben Sie einen Namen ein!");
    for (QChar c : name) {
        if (QStringView(u"/\\:*?\"<>|").contains(c) || c.unicode() < 0x20 ||
            (c.unicode() >= 0x7F && c.unicode() < 0xA0))
            return QStringLiteral("Der Name darf keines der Zeichen / \\ : * ? \" < > | und "
                                  "keine Steuerzeichen enthalten.\n\rBitte wählen Sie einen "
                                  "anderen Namen!");
    }
    if (name.startsWith(u'.'))
        return QStringLiteral("Der Name darf nicht mit einem Punkt beginnen.\n\rBitte wählen Sie "
                              "einen anderen Namen!");
    if (!cp1252::canEncode(name))
        return QStringLiteral("Der Name enthält Zeichen, die nicht gespeichert werden können."
                              "\n\rBitte wählen Sie einen anderen Namen!");
    if (name.toUtf8().size() + SuffixRoom > 255)
        return QStringLiteral("Der Name ist zu lang.\n\rBitte wählen Sie einen kürzeren Namen!");
    return {};
}

QString tProgramData::userFilePath(const QString& name) const
{
    const QString exact = DataDir + name + QStringLiteral(".mnu");
    if (QFileInfo::exists(exact))
        return exact;
    // A folder from a system that ignores case may hold "Name.MNU".
    const QDir dir(DataDir);
    for (const QString& entry : dir.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        if (entry.size() == name.size() + 4 && entry.startsWith(name) &&
            QStringView(entry).mid(name.size()).compare(u".mnu", Qt::CaseInsensitive) == 0)
            return DataDir + entry;
    }
    return exact;
}

QStringList tProgramData::ListUsers() const
{
    QStringList names;
    const QDir dir(DataDir);
    if (DataDir.isEmpty() || !dir.exists())
        return names;
    for (const QString& entry : dir.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        if (!entry.endsWith(QStringLiteral(".mnu"), Qt::CaseInsensitive))
            continue;
        names.append(entry.left(entry.indexOf(QStringLiteral(".mnu"), 0, Qt::CaseInsensitive)));
    }
    names.sort();
    return names;
}

// ---- user file ----------------------------------------------------------------------

bool tProgramData::CreateUserFile()
{
    QString error;
    return replaceFile(UserFileName, ff::writeUserFile({}), &error);
}

bool tProgramData::LoadUserFile()
{
    UserList.clear();
    if (!IsSafeFileStem(UserName)) {
        UserFileName.clear();
        report(QStringLiteral("Fehler: Ungültiger Name eines Detektivs: ") + UserName,
               mkFehlermeldung, UserHelpContext);
        return false;
    }
    UserFileName = userFilePath(UserName);
    if (!QFileInfo::exists(UserFileName))
        CreateUserFile(); // a failure shows when the file is opened

    QFile file(UserFileName);
    if (!file.open(QIODevice::ReadOnly)) {
        report(QStringLiteral("Fehler: ") + fileErrorText(file), mkFehlermeldung, UserHelpContext);
        return false;
    }
    if (file.size() > ff::MaxUserFileSize) {
        report(QStringLiteral("Fehler: Die Datei %1 ist zu groß für Benutzerinformationen.")
                   .arg(QDir::toNativeSeparators(UserFileName)),
               mkFehlermeldung, UserHelpContext);
        return false;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        report(QStringLiteral("Fehler: ") + fileErrorText(file), mkFehlermeldung, UserHelpContext);
        return false;
    }
    file.close();

    QList<std::shared_ptr<tUser>> records;
    const auto result = ff::readUserFile(bytes, records);
    if (result == ff::ReadResult::BadMagic) {
        report(QStringLiteral("Ungültige Benutzerinformationen!"), mkFehlermeldung,
               UserHelpContext);
        return false;
    }
    for (const auto& user : records) {
        UserList.append(user);
        relocateNames(*user);
        if (!LoadSummaries(*user))
            return false;
    }
    if (result == ff::ReadResult::Truncated) {
        report(QStringLiteral("Fehler: ") + shortFileText(UserFileName), mkFehlermeldung,
               UserHelpContext);
        return false;
    }
    return true;
}

bool tProgramData::SaveUserFile()
{
    QString error;
    if (replaceFile(UserFileName, ff::writeUserFile(UserList), &error))
        return true;
    if (DataDirReadOnly)
        report(QStringLiteral("Auf dem aktuellen Laufwerk können keine Benutzerinformationen "
                              "geschrieben werden."),
               mkHinweis, UserHelpContext);
    else
        report(QStringLiteral("Fehler: ") + error, mkFehlermeldung, UserHelpContext);
    return false;
}

std::shared_ptr<tUser> tProgramData::FindUser(const QString& name) const
{
    for (const auto& user : UserList)
        if (user->Name == name)
            return user;
    return nullptr;
}

bool tProgramData::RegisterUser(const QString& typedName, quint16 slot)
{
    const QString name = typedName.trimmed();
    if (const QString reason = CheckNewUserName(name); !reason.isEmpty()) {
        report(reason, mkAchtung);
        return false;
    }
    UserName = name;
    UserFileName = DataDir + name + QStringLiteral(".mnu");
    // Names that differ only in case share one file where case is ignored.
    for (const QString& existing : ListUsers()) {
        if (existing.compare(name, Qt::CaseInsensitive) == 0) {
            report(QStringLiteral("Der Detektiv ") + typedName +
                       QStringLiteral(" ist bereits registriert!\n\rBitte wählen Sie einen "
                                      "anderen Namen!"),
                   mkAchtung);
            return false;
        }
    }
    if (!LoadUserFile()) {
        report(UserInfoUnavailableText(), mkFehlermeldung, UserHelpContext);
        QFile::remove(UserFileName);
        return false;
    }
    const QString createdUserFile = UserFileName;

    auto user = std::make_shared<tUser>();
    user->Name = name.left(255);
    user->RegSlot = slot;
    UserName = user->Name;
    // A half-registered detective would be listed but could never be opened.
    auto undo = [&] {
        for (int k = rkTel; k <= rkBild; ++k)
            if (!user->SumFile(k).isEmpty())
                QFile::remove(user->SumFile(k));
        QFile::remove(createdUserFile);
    };
    if (!SetupUserFiles(*user)) {
        report(QStringLiteral("Beim Anlegen des Detektivs ") + typedName +
                   QStringLiteral(" ist ein Fehler aufgetreten!\n\rBitte starten Sie das Programm "
                                  "neu und versuchen Sie es noch einmal!"),
               mkAchtung);
        undo();
        return false;
    }
    user->RegDate = SerialDate::fromDate(clock().now().date());
    UserList.append(user);
    if (!SaveUserFile()) {
        UserList.removeAll(user);
        undo();
        return false;
    }
    return true;
}

bool tProgramData::OpenUser()
{
    if (!IsSafeFileStem(UserName) || !QFileInfo::exists(userFilePath(UserName))) {
        plain(QStringLiteral("Fehler: Detektiv ") + UserName + QStringLiteral(" existiert nicht!"));
        return false;
    }
    if (!LoadUserFile()) {
        report(UserInfoUnavailableText(), mkFehlermeldung, UserHelpContext);
        return false;
    }
    auto user = FindUser(UserName);
    if (!user) {
        plain(QStringLiteral("Fehler: Detektiv ") + UserName + QStringLiteral(" existiert nicht!"));
        return false;
    }
    CurrentUser = user;
    return true;
}

bool tProgramData::DeleteUser(const QString& name)
{
    const QString n = name.trimmed();
    if (!IsSafeFileStem(n)) {
        plain(QStringLiteral("Fehler: Detektiv ") + n + QStringLiteral(" existiert nicht!"));
        return false;
    }
    static const QRegularExpression ownDat(
        QStringLiteral("^(TS|BS|WS|BK)(_\\d\\d_\\d\\d(_\\d+)?)?\\.dat$"),
        QRegularExpression::CaseInsensitiveOption);
    const QDir dir(DataDir);
    QStringList own;
    bool hasUserFile = false;
    for (const QString& entry : dir.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        if (!entry.startsWith(n))
            continue;
        const QString rest = entry.mid(n.size());
        const bool userFile = rest.compare(u".mnu", Qt::CaseInsensitive) == 0;
        hasUserFile = hasUserFile || userFile;
        if (userFile || ownDat.match(rest).hasMatch())
            own.append(entry);
    }
    if (!hasUserFile) {
        plain(QStringLiteral("Fehler: Detektiv ") + n + QStringLiteral(" existiert nicht!"));
        return false;
    }
    bool all = true;
    for (const QString& entry : own) {
        QFile file(DataDir + entry);
        if (!file.remove()) {
            plain(QStringLiteral("Fehler: ") + fileErrorText(file));
            all = false;
        }
    }
    if (UserName == n)
        UserName = QStringLiteral("-");
    return all;
}

// ---- summaries ------------------------------------------------------------------------

void tProgramData::CreateSessionLists()
{
    TelStatList.clear();
    MemoStatList.clear();
    WortStatList.clear();
    BildStatList.clear();
    m_saved.fill(0);
    SessionListsCreated = true;
}

void tProgramData::ResetSummaries()
{
    TelBest.fill(NoValue);
    TelAvg.fill(NoValueReal);
    TelCount.fill(0);
    MemoBest.fill(NoValue);
    MemoAvg.fill(NoValueReal);
    MemoCount.fill(0);
    WortAvg.fill(NoValueReal);
    WortCount.fill(0);
    BildAvg.fill(NoValueReal);
    BildCount.fill(0);
}

void tProgramData::relocateNames(tUser& user) const
{
    // A stored name that is missing (a folder copied from another computer, a path
    // from Windows) is looked for in the data folder under its last component.
    auto missing = [](const QString& path) {
        return !path.isEmpty() && (!hasFolderPart(path) || !QFileInfo::exists(path));
    };
    auto moved = [this](const QString& path) { return DataDir + lastComponent(path); };

    const bool summariesMoved = missing(user.TelSumFile);
    for (int k = rkTel; k <= rkBild; ++k) {
        QString& sum = user.SumFile(k);
        if (!sum.isEmpty() && (summariesMoved || missing(sum)))
            sum = moved(sum);
        for (QString& log : user.Files(k))
            if (missing(log))
                log = moved(log);
        if (missing(user.Logs[k].FileName))
            user.Logs[k].FileName = moved(user.Logs[k].FileName);
    }
}

bool tProgramData::SetupUserFiles(tUser& user)
{
    for (int k = rkTel; k <= rkBild; ++k) {
        user.SumFile(k) = ResultFileName(KindTag(k));
        if (user.SumFile(k).isEmpty())
            return false;
    }
    return CreateSummaryFiles(user);
}

bool tProgramData::writeSummaryFiles(const tUser& user)
{
    const SerialDate today = SerialDate::fromDate(clock().now().date());
    const QByteArray bytes[4] = {
        ff::writeSeqSummary(today, {TelBest, TelAvg, TelCount}),
        ff::writeSeqSummary(today, {MemoBest, MemoAvg, MemoCount}),
        ff::writeKatSummary(today, {WortAvg, WortCount}),
        ff::writeKatSummary(today, {BildAvg, BildCount}),
    };
    for (int k = rkTel; k <= rkBild; ++k) {
        QString error;
        if (user.SumFile(k).isEmpty())
            error = QStringLiteral("Kein Dateiname für die Zusammenfassung %1.").arg(KindTag(k));
        if (!error.isEmpty() || !replaceFile(user.SumFile(k), bytes[k - 1], &error)) {
            plain(QStringLiteral("Fehler beim Erstellen von Dateien: ") + error);
            return false;
        }
    }
    return true;
}

bool tProgramData::CreateSummaryFiles(tUser& user)
{
    if (DataDirReadOnly)
        return false; // nothing can be created; the registration reports it
    ResetSummaries();
    return writeSummaryFiles(user);
}

bool tProgramData::SaveSummaries(tUser& user)
{
    if (DataDirReadOnly)
        return true; // the user file's writer reports the read-only drive
    return writeSummaryFiles(user);
}

bool tProgramData::LoadSummaries(tUser& user)
{
    relocateNames(user);
    for (int k = rkTel; k <= rkBild; ++k) {
        QFile file(user.SumFile(k));
        if (!file.open(QIODevice::ReadOnly)) {
            plain(QStringLiteral("Fehler beim Lesen von Dateien: ") + fileErrorText(file));
            return false;
        }
        const int size = k <= rkMemo ? ff::SeqSummarySize : ff::KatSummarySize;
        const QByteArray bytes = file.read(size);
        bool ok = false;
        if (k <= rkMemo) {
            ff::SeqSummary s;
            ok = ff::readSeqSummary(bytes, s);
            if (ok && k == rkTel) {
                TelBest = s.Best;
                TelAvg = s.Avg;
                TelCount = s.Count;
            } else if (ok) {
                MemoBest = s.Best;
                MemoAvg = s.Avg;
                MemoCount = s.Count;
            }
        } else {
            ff::KatSummary s;
            ok = ff::readKatSummary(bytes, s);
            if (ok && k == rkWort) {
                WortAvg = s.Avg;
                WortCount = s.Count;
            } else if (ok) {
                BildAvg = s.Avg;
                BildCount = s.Count;
            }
        }
        if (!ok) {
            const QString error = file.error() != QFileDevice::NoError
                                      ? fileErrorText(file)
                                      : shortFileText(user.SumFile(k));
            plain(QStringLiteral("Fehler beim Lesen von Dateien: ") + error);
            return false;
        }
    }
    return true;
}

namespace {
template <typename Stat>
void foldSeq(const Stat& r, RangeArray<qint32, 1, 3>& best, RangeArray<double, 1, 3>& avg,
             RangeArray<double, 1, 3>& count)
{
    const int m = r.Mode;
    if (!best.contains(m))
        return; // a record without a valid mode has no place in the summary
    if (best[m] == NoValue)
        best[m] = r.MaxLevel;
    if (r.MaxLevel > best[m])
        best[m] = r.MaxLevel;
    if (avg[m] == NoValueReal) {
        avg[m] = r.BestSpan;
        count[m] = 1;
    } else if (r.BestSpan != NoValue) {
        avg[m] = (avg[m] * count[m] + r.BestSpan) / (count[m] + 1);
        count[m] += 1;
    }
}

void foldKat(const tWortKatStat& r, RangeArray<double, 1, 4>& avg, RangeArray<double, 1, 4>& count)
{
    for (int l = 1; l <= 4; ++l) {
        if (r.AskedPerLevel[l] == 0)
            continue;
        const double p = double(r.CorrectPerLevel[l]) * 100.0 / double(r.AskedPerLevel[l]);
        if (avg[l] == NoValueReal) {
            avg[l] = p;
            count[l] = 1;
        } else {
            avg[l] = (avg[l] * count[l] + p) / (count[l] + 1);
            count[l] += 1;
        }
    }
}
} // namespace

void tProgramData::FoldTelStat(const tTeleStat& r)
{
    foldSeq(r, TelBest, TelAvg, TelCount);
}

void tProgramData::FoldMemoStat(const tBmpSndStat& r)
{
    foldSeq(r, MemoBest, MemoAvg, MemoCount);
}

void tProgramData::FoldWortStat(const tWortKatStat& r)
{
    foldKat(r, WortAvg, WortCount);
}

void tProgramData::FoldBildStat(const tBmpKatStat& r)
{
    foldKat(r, BildAvg, BildCount);
}

QString tProgramData::ZeroPad(int value, int width)
{
    QString text = QString::number(value);
    while (text.size() < width)
        text.prepend(u'0');
    return text;
}

QString tProgramData::MonthTag() const
{
    const QDate d = SessionStart.date();
    return u'_' + ZeroPad(d.year() % 100, 2) + u'_' + ZeroPad(d.month(), 2);
}

QString tProgramData::ResultFileName(const QString& tag)
{
    if (UserName.isEmpty() || UserName == u"-" || !IsSafeFileStem(UserName)) {
        plain(QStringLiteral("Kein User ausgewählt"));
        return {};
    }
    const QString base = DataDir + UserName + tag + QStringLiteral(".dat");
    if (!QFileInfo::exists(base))
        return base;
    return DataDir + UserName + tag + MonthTag() + QStringLiteral(".dat");
}

// ---- logs -----------------------------------------------------------------------------

bool tProgramData::IsEarlierMonth(const SerialDate& d) const
{
    CivilTime t;
    if (!d.toCivil(t))
        return true; // no usable date: start a fresh log
    const QDate s = SessionStart.date();
    return t.year * 12 + t.month < s.year() * 12 + s.month();
}

QString tProgramData::newLogName(tUser& user, int kind)
{
    QString name = ResultFileName(KindTag(kind));
    if (name.isEmpty())
        return {};
    QStringList& files = user.Files(kind);
    // A log of this detective under that name (the clock went back and forth) keeps
    // its records and is continued. Any other file that exists is never emptied: it
    // may be a summary given the month name at registration, or a log this record
    // does not know; the new log then gets the next free number.
    const QString stem = name.chopped(4);
    for (int n = 2;; ++n) {
        if (name == user.Logs[kind].FileName || files.contains(name))
            return name;
        if (!QFileInfo::exists(name))
            break;
        name = stem + u'_' + QString::number(n) + QStringLiteral(".dat");
    }
    QFile file(name);
    if (!file.open(QIODevice::WriteOnly))
        return {};
    file.close();
    files.append(name);
    return name;
}

bool tProgramData::SaveSessionResults(tUser& user)
{
    if (!SessionListsCreated)
        return false;
    const qsizetype sizes[4] = {TelStatList.size(), MemoStatList.size(), WortStatList.size(),
                                BildStatList.size()};
    for (int k = rkTel; k <= rkBild; ++k) {
        if (m_saved[k] >= sizes[k - 1])
            continue;
        tEntry& e = user.Logs[k];
        if (e.FileName.isEmpty() || IsEarlierMonth(e.LastDate)) {
            const QString name = newLogName(user, k);
            if (name.isEmpty())
                return false;
            e.FileName = name;
        }
        e.LastDate = SerialDate::fromDateTime(SessionStart);
        QFile file(e.FileName);
        // Unbuffered, so a failed write cannot be completed later by a flush.
        if (!file.open(QIODevice::ReadWrite | QIODevice::Unbuffered) || !file.seek(file.size()))
            return false;
        for (qsizetype i = m_saved[k]; i < sizes[k - 1]; ++i) {
            bool ok = false;
            switch (k) {
            case rkTel:
                ok = AppendTelStat(user, file, TelStatList[i]);
                break;
            case rkMemo:
                ok = AppendMemoStat(user, file, MemoStatList[i]);
                break;
            case rkWort:
                ok = AppendWortStat(user, file, WortStatList[i]);
                break;
            default:
                ok = AppendBildStat(user, file, BildStatList[i]);
                break;
            }
            if (!ok)
                return false;
            m_saved[k] = int(i + 1);
        }
    }
    return SaveSummaries(user);
}

namespace {
// A failed write is cut back so the log never ends inside a record.
bool appendRecord(QFile& file, const QByteArray& bytes)
{
    const qint64 start = file.size();
    if (!file.seek(start) || file.write(bytes) != bytes.size() || !file.flush()) {
        file.resize(start);
        return false;
    }
    return true;
}
} // namespace

bool tProgramData::AppendTelStat(tUser&, QFile& file, const tTeleStat& r)
{
    QByteArray bytes;
    bytes.reserve(ff::TelRecordSize);
    ff::encodeTel(r, bytes);
    if (!appendRecord(file, bytes))
        return false;
    FoldTelStat(r);
    return true;
}

bool tProgramData::AppendMemoStat(tUser&, QFile& file, const tBmpSndStat& r)
{
    QByteArray bytes;
    bytes.reserve(ff::MemoRecordSize);
    ff::encodeMemo(r, bytes);
    if (!appendRecord(file, bytes))
        return false;
    FoldMemoStat(r);
    return true;
}

bool tProgramData::AppendWortStat(tUser&, QFile& file, const tWortKatStat& r)
{
    QByteArray bytes;
    ff::encodeKat(r, bytes);
    if (!appendRecord(file, bytes))
        return false;
    FoldWortStat(r);
    return true;
}

bool tProgramData::AppendBildStat(tUser&, QFile& file, const tBmpKatStat& r)
{
    QByteArray bytes;
    ff::encodeKat(r, bytes);
    if (!appendRecord(file, bytes))
        return false;
    FoldBildStat(r);
    return true;
}

bool tProgramData::ReadTelStat(QIODevice& file, tTeleStat& r)
{
    char bytes[ff::TelRecordSize];
    if (!readExact(file, bytes, sizeof bytes))
        return false;
    ff::decodeTel(bytes, r);
    return true;
}

bool tProgramData::ReadMemoStat(QIODevice& file, tBmpSndStat& r)
{
    char bytes[ff::MemoRecordSize];
    if (!readExact(file, bytes, sizeof bytes))
        return false;
    ff::decodeMemo(bytes, r);
    return true;
}

bool tProgramData::ReadWortStat(QIODevice& file, tWortKatStat& r)
{
    char bytes[ff::KatRecordSize];
    if (!readExact(file, bytes, sizeof bytes))
        return false;
    ff::decodeKat(bytes, r);
    return true;
}

bool tProgramData::ReadBildStat(QIODevice& file, tBmpKatStat& r)
{
    return ReadWortStat(file, r);
}

// ---- export -------------------------------------------------------------------------

namespace {
// Record decoders of the export, by kind.
struct TelReader
{
    using Record = tTeleStat;
    static constexpr qint64 Size = ff::TelRecordSize;
    void (*fn)(const char*, tTeleStat&) = &ff::decodeTel;
};
struct MemoReader
{
    using Record = tBmpSndStat;
    static constexpr qint64 Size = ff::MemoRecordSize;
    void (*fn)(const char*, tBmpSndStat&) = &ff::decodeMemo;
};
struct KatReader
{
    using Record = tWortKatStat;
    static constexpr qint64 Size = ff::KatRecordSize;
    void (*fn)(const char*, tWortKatStat&) = &ff::decodeKat;
};
} // namespace

bool tProgramData::ExportResultsTo(QByteArray& out, const tUser& user, bool useFrom, bool useTo,
                                   const QDate& fromDate, const QDate& toDate, int kind)
{
    const auto yyyymmdd = [](const QDate& d) {
        return d.isValid() ? d.year() * 10000 + d.month() * 100 + d.day() : 0;
    };
    const DateFilter filter{useFrom, useTo, yyyymmdd(fromDate), yyyymmdd(toDate)};

    // Reads every record of every log of a kind, a block of records at a time; false
    // (after saying which file) when a log cannot be opened or ends inside a record.
    auto readLogs = [this](const QStringList& files, auto decode, auto&& write) {
        using Record = typename decltype(decode)::Record;
        constexpr qint64 size = decltype(decode)::Size;
        QByteArray block(size * 256, Qt::Uninitialized);
        Record r;
        for (const QString& name : files) {
            QFile file(name);
            if (!file.open(QIODevice::ReadOnly)) {
                plain(QStringLiteral("Fehler: ") + fileErrorText(file));
                return false;
            }
            qint64 index = 0;
            for (;;) {
                const qint64 got = file.read(block.data(), block.size());
                if (got < 0) {
                    plain(QStringLiteral("Fehler: ") + fileErrorText(file));
                    return false;
                }
                const qint64 whole = got / size;
                for (qint64 i = 0; i < whole; ++i) {
                    decode.fn(block.constData() + i * size, r);
                    write(r);
                }
                index += whole;
                if (got % size != 0) {
                    plain(QStringLiteral("Fehler: Die Ergebnisdatei %1 ist beschädigt "
                                         "(Datensatz %2 ist unvollständig).")
                              .arg(QDir::toNativeSeparators(name))
                              .arg(index + 1));
                    return false;
                }
                if (got < block.size())
                    break;
            }
        }
        return true;
    };
    auto katRow = [&](const char* type) {
        return [&out, &filter, type](const tWortKatStat& r) {
            CivilTime t;
            const bool valid = r.Stamp.toCivil(t);
            if (filter.passes(r.Stamp, t))
                appendKatRow(out, type, r, t, valid);
        };
    };
    auto seqRow = [&](const char* type) {
        return [&out, &filter, type](const auto& r) {
            CivilTime t;
            const bool valid = r.Stamp.toCivil(t);
            if (filter.passes(r.Stamp, t))
                appendSeqRow(out, type, r, t, valid);
        };
    };
    // Session records written already are in the logs.
    auto unsaved = [this](const auto& list, int k, auto&& write) {
        const qsizetype first = SessionListsCreated ? m_saved[k] : list.size();
        for (qsizetype i = first; i < list.size(); ++i)
            write(list[i]);
    };

    if (kind == ekWortBild) {
        out.append("TYP\tDatum\tZeit\tS_I\tS_II\tS_III\tS_IV\t\r\n");
        if (!readLogs(user.WortFiles, KatReader{}, katRow("WORT")))
            return false;
        unsaved(WortStatList, rkWort, katRow("WORT"));
        if (!readLogs(user.BildFiles, KatReader{}, katRow("BILD")))
            return false;
        unsaved(BildStatList, rkBild, katRow("BILD"));
    } else {
        out.append("TYP\tModus\tDatum\tZeit");
        for (int level = 1; level <= 15; ++level)
            out.append("\tL_").append(QByteArray::number(level));
        out.append("\r\n");
        if (!readLogs(user.TelFiles, TelReader{}, seqRow("TEL")))
            return false;
        unsaved(TelStatList, rkTel, seqRow("TEL"));
        if (!readLogs(user.MemoFiles, MemoReader{}, seqRow("MEMO")))
            return false;
        unsaved(MemoStatList, rkMemo, seqRow("MEMO"));
    }
    return true;
}

bool tProgramData::ExportResults(const tUser& user, const QString& fileName, bool useFrom,
                                 bool useTo, const QDate& fromDate, const QDate& toDate, int kind)
{
    QByteArray text;
    if (!ExportResultsTo(text, user, useFrom, useTo, fromDate, toDate, kind))
        return false;
    QString error;
    if (!replaceFile(fileName, text, &error)) {
        report(QStringLiteral("Fehler beim Erstellen der Datei ") + fileName +
                   QStringLiteral(":\n\r") + error,
               mkFehlermeldung);
        return false;
    }
    return true;
}

} // namespace gf

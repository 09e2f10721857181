// Storing finished records so that none is lost or counted twice: each save appends to
// the log and forces it to disk before the user file lists the log, then the journal
// folds the records, then the summary files are copied from the journal. Whatever step
// an interruption hits, the repair at the next start (or save) completes it.

#include "core/data/BinaryIO.h"
#include "core/data/FileFormats.h"
#include "core/data/Journal.h"
#include "core/data/MessageSink.h"
#include "core/data/ProgramData.h"
#include "core/data/Timing.h"
#include "sys/DataFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>

namespace gf {

namespace ff = fileformat;

namespace {

qint64 recordSize(ExerciseKind k)
{
    switch (k) {
    case ExerciseKind::Tel:
        return ff::TelRecordSize;
    case ExerciseKind::Memo:
        return ff::MemoRecordSize;
    default:
        return ff::KatRecordSize;
    }
}

// Folds records [from, to) of a log into the ledger; false when they cannot be read.
bool foldLogRecords(tLedger& ledger, ExerciseKind k, const QString& log, qint64 from, qint64 to,
                    QString* error)
{
    DataFile file(log);
    const qint64 size = recordSize(k);
    if (!file.open(QIODevice::ReadOnly) || !file.seek(from * size)) {
        *error = file.errorText();
        return false;
    }
    for (qint64 i = from; i < to; ++i) {
        const QByteArray bytes = file.read(size);
        if (bytes.size() != size) {
            *error = file.errorText();
            return false;
        }
        switch (k) {
        case ExerciseKind::Tel: {
            tTeleStat r;
            ff::decodeTel(bytes.constData(), r);
            foldIntoLedger(ledger, k, r);
            break;
        }
        case ExerciseKind::Memo: {
            tBmpSndStat r;
            ff::decodeMemo(bytes.constData(), r);
            foldIntoLedger(ledger, k, r);
            break;
        }
        default: {
            tWortKatStat r;
            ff::decodeKat(bytes.constData(), r);
            foldIntoLedger(ledger, k, r);
            break;
        }
        }
    }
    return true;
}

void encode(const tTeleStat& r, QByteArray& bytes) { ff::encodeTel(r, bytes); }
void encode(const tBmpSndStat& r, QByteArray& bytes) { ff::encodeMemo(r, bytes); }
void encode(const tWortKatStat& r, QByteArray& bytes) { ff::encodeKat(r, bytes); }

// Calls f with the session list of kind k.
template <typename F> auto withList(const tProgramData& d, ExerciseKind k, F&& f)
{
    switch (k) {
    case ExerciseKind::Tel:
        return f(d.TelStatList);
    case ExerciseKind::Memo:
        return f(d.MemoStatList);
    case ExerciseKind::Wort:
        return f(d.WortStatList);
    default:
        return f(d.BildStatList);
    }
}

QByteArray encodeFrom(const tProgramData& d, ExerciseKind k, qsizetype from)
{
    return withList(d, k, [from](const auto& list) {
        QByteArray bytes;
        for (qsizetype i = from; i < list.size(); ++i)
            encode(list[i], bytes);
        return bytes;
    });
}

qsizetype listSize(const tProgramData& d, ExerciseKind k)
{
    return withList(d, k, [](const auto& list) { return list.size(); });
}

ExerciseKind kindOfTag(const QString& tag)
{
    for (ExerciseKind k : AllExerciseKinds)
        if (kindTag(k) == tag)
            return k;
    return ExerciseKind::Tel;
}

} // namespace

QString tProgramData::journalPath() const
{
    return DataDir + UserName + QStringLiteral(".gfj");
}

QString tProgramData::loginLockPath(const QString& name) const
{
    return DataDir + name + QStringLiteral(".gfl");
}

bool tProgramData::readUserRecords(QList<std::shared_ptr<tUser>>& out, QString* error,
                                   bool* missing) const
{
    return readUserRecords(UserName, out, error, missing);
}

bool tProgramData::readUserRecords(const QString& name, QList<std::shared_ptr<tUser>>& out,
                                   QString* error, bool* missing) const
{
    *missing = false;
    const QString path = userFilePath(name);
    if (!files::exists(path)) {
        *missing = true;
        return false;
    }
    DataFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > ff::MaxUserFileSize) {
        *error = file.errorText();
        return false;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        *error = file.errorText();
        return false;
    }
    if (ff::readUserFile(bytes, out) != ff::ReadResult::Ok) {
        *error = shortFileText(path);
        return false;
    }
    for (const auto& u : out)
        relocateNames(*u);
    return true;
}

bool tProgramData::repairStored(tUser& user, const QList<std::shared_ptr<tUser>>& all,
                                QString* error)
{
    files::removeLeftoverTemps(DataDir);

    // The journal; a detective from before it existed starts it from his summaries,
    // counting every record of his logs as folded.
    tJournal journal;
    bool journalChanged = false;
    {
        DataFile file(journalPath());
        const bool have = files::exists(journalPath()) && file.open(QIODevice::ReadOnly) &&
                          tJournal::fromBytes(file.read(1 << 20), journal);
        if (!have) {
            journalChanged = true;
            journal = tJournal{};
            for (ExerciseKind k : AllExerciseKinds) {
                tLedger& l = journal[k];
                l.seq = emptySeqSummary();
                l.kat = emptyKatSummary();
                DataFile sum(user.sumFile(k));
                if (sum.open(QIODevice::ReadOnly)) {
                    const QByteArray bytes = sum.read(ff::KatSummarySize);
                    if (isSequence(k))
                        ff::readSeqSummary(bytes, l.seq);
                    else
                        ff::readKatSummary(bytes, l.kat);
                }
                l.seqBefore = l.seq;
                l.katBefore = l.kat;
                for (const QString& log : user.Files(k))
                    l.folded.insert(files::lastComponent(log),
                                    QFileInfo(log).size() / recordSize(k));
            }
        }
    }

    // Logs no user file lists: a save was cut off after the log was made. Those the
    // journal announced are certainly this detective's; any other of his naming is
    // taken when it holds whole records only (a leftover of other bytes is left alone).
    QSet<QString> known;
    for (const auto& u : all) {
        const tUser& x = u->Name == user.Name ? user : *u;
        for (ExerciseKind k : AllExerciseKinds) {
            known.insert(files::lastComponent(x.sumFile(k)));
            for (const QString& f : x.Files(k))
                known.insert(files::lastComponent(f));
            known.insert(files::lastComponent(x.Logs[logIndex(k)].FileName));
        }
    }
    static const QRegularExpression logName(
        QStringLiteral("^(TS|BS|WS|BK)_\\d\\d_\\d\\d(_\\d+)?\\.dat$"));
    bool userChanged = false;
    QStringList cut; // logs a save may have been writing
    QStringList entries = files::entries(DataDir);
    entries.sort();
    for (const QString& entry : entries) {
        if (!entry.startsWith(UserName) || known.contains(entry) ||
            !logName.match(entry.mid(UserName.size())).hasMatch())
            continue;
        const ExerciseKind k = kindOfTag(entry.mid(UserName.size(), 2));
        const qint64 size = QFileInfo(DataDir + entry).size();
        const bool announced = journal[k].pending.contains(entry);
        if (!announced && (size == 0 || size % recordSize(k) != 0))
            continue;
        user.Files(k).append(DataDir + entry);
        userChanged = true;
        if (announced)
            cut.append(DataDir + entry);
    }
    for (ExerciseKind k : AllExerciseKinds) {
        if (!journal[k].pending.isEmpty()) {
            journal[k].pending.clear();
            journalChanged = true;
        }
    }

    // A log cut off inside a record (a save killed while writing) loses the torn
    // record, which nobody has seen; only logs a save may have been writing are cut.
    for (ExerciseKind k : AllExerciseKinds) {
        QStringList writable = cut;
        writable.append(user.Logs[logIndex(k)].FileName);
        for (const QString& log : writable) {
            if (log.isEmpty() || !files::exists(log) ||
                kindOfTag(files::lastComponent(log).mid(UserName.size(), 2)) != k)
                continue;
            DataFile file(log);
            if (!file.open(QIODevice::ReadWrite))
                continue;
            const qint64 whole = file.size() - file.size() % recordSize(k);
            if (whole != file.size() && (!file.resize(whole) || !file.flush())) {
                *error = file.errorText();
                return false;
            }
        }
    }

    if (userChanged) {
        QList<std::shared_ptr<tUser>> list = all;
        for (auto& u : list)
            if (u->Name == user.Name)
                u = std::make_shared<tUser>(user);
        if (!files::replace(userFilePath(UserName), ff::writeUserFile(list), error))
            return false;
    }

    for (ExerciseKind k : AllExerciseKinds) {
        tLedger& l = journal[k];
        for (const QString& log : user.Files(k)) {
            const QString key = files::lastComponent(log);
            const qint64 have = QFileInfo(log).size() / recordSize(k);
            const qint64 done = l.folded.value(key, 0);
            if (have > done) {
                if (!foldLogRecords(l, k, log, done, have, error))
                    return false;
                journalChanged = true;
            }
            if (have != done) {
                l.folded.insert(key, have);
                journalChanged = true;
            }
        }
    }
    if (journalChanged && !files::replace(journalPath(), journal.toBytes(), error))
        return false;
    m_journal = std::make_unique<tJournal>(journal);
    applyJournal();
    return writeSummaryCopies(user, error);
}

void tProgramData::applyJournal()
{
    const tJournal& j = *m_journal;
    TelBest = j[ExerciseKind::Tel].seq.Best;
    TelAvg = j[ExerciseKind::Tel].seq.Avg;
    TelCount = j[ExerciseKind::Tel].seq.Count;
    MemoBest = j[ExerciseKind::Memo].seq.Best;
    MemoAvg = j[ExerciseKind::Memo].seq.Avg;
    MemoCount = j[ExerciseKind::Memo].seq.Count;
    WortAvg = j[ExerciseKind::Wort].kat.Avg;
    WortCount = j[ExerciseKind::Wort].kat.Count;
    BildAvg = j[ExerciseKind::Bild].kat.Avg;
    BildCount = j[ExerciseKind::Bild].kat.Count;
}

bool tProgramData::writeSummaryCopies(const tUser& user, QString* error)
{
    for (ExerciseKind k : AllExerciseKinds) {
        const tLedger& l = (*m_journal)[k];
        const QString& name = user.sumFile(k);
        // A summary name that is also listed as a log (a damaged user file) holds records:
        // it is never written over.
        if (name.isEmpty() || user.Files(k).contains(name))
            continue;
        DataFile file(name);
        bool same = false;
        if (file.open(QIODevice::ReadOnly)) {
            const QByteArray bytes = file.read(ff::KatSummarySize);
            if (isSequence(k)) {
                ff::SeqSummary s;
                same = ff::readSeqSummary(bytes, s) && s.Best == l.seq.Best && s.Avg == l.seq.Avg &&
                       s.Count == l.seq.Count;
            } else {
                ff::KatSummary s;
                same = ff::readKatSummary(bytes, s) && s.Avg == l.kat.Avg && s.Count == l.kat.Count;
            }
            file.close();
        }
        if (same)
            continue;
        const SerialDate today = SerialDate::fromDate(clock().now().date());
        const QByteArray bytes =
            isSequence(k) ? ff::writeSeqSummary(today, l.seq) : ff::writeKatSummary(today, l.kat);
        if (!files::replace(name, bytes, error))
            return false;
    }
    return true;
}

bool tProgramData::readStoredUser(const QString& name, tUser& out, QString* error) const
{
    QList<std::shared_ptr<tUser>> all;
    bool missing = false;
    QString why;
    if (isSafeFileStem(name) && readUserRecords(name, all, &why, &missing))
        for (const auto& u : all)
            if (u->Name.compare(name, Qt::CaseInsensitive) == 0) {
                out = *u;
                return true;
            }
    if (error)
        *error = !why.isEmpty() ? why
                 : missing      ? QStringLiteral("Die Benutzerdatei von %1 fehlt.").arg(name)
                                : QStringLiteral("Die Benutzerdatei von %1 enthält keinen "
                                                      "Detektiv dieses Namens.")
                                 .arg(name);
    return false;
}

bool tProgramData::repairCurrent()
{
    if (DataDirReadOnly || !CurrentUser)
        return true;
    const FolderGuard lock(*this, true);
    if (!lock.held())
        return false;
    QList<std::shared_ptr<tUser>> all;
    QString error;
    bool missing = false;
    if (!readUserRecords(all, &error, &missing))
        return false;
    std::shared_ptr<tUser> disk;
    for (const auto& u : all)
        if (u->Name == CurrentUser->Name)
            disk = u;
    if (!disk)
        return false;
    tUser user = *disk;
    if (!repairStored(user, all, &error)) {
        m_saveError = error;
        return false;
    }
    *CurrentUser = user;
    return true;
}

QString tProgramData::logNameFor(tUser& user, ExerciseKind kind,
                                 const QList<std::shared_ptr<tUser>>& all) const
{
    const tEntry& e = user.Logs[logIndex(kind)];
    // Never a summary's name nor a file that any detective lists: writing there would
    // mix records into foreign bytes.
    QSet<QString> taken;
    for (const auto& u : all) {
        const tUser& x = u->Name == user.Name ? user : *u;
        for (ExerciseKind k : AllExerciseKinds) {
            taken.insert(files::lastComponent(x.sumFile(k)));
            if (&x != &user || k != kind)
                for (const QString& f : x.Files(k))
                    taken.insert(files::lastComponent(f));
        }
    }
    if (!e.FileName.isEmpty() && !IsEarlierMonth(e.LastDate) &&
        !taken.contains(files::lastComponent(e.FileName)))
        return e.FileName;
    const QString stem = DataDir + UserName + kindTag(kind) + MonthTag();
    QString name = stem + QStringLiteral(".dat");
    for (int n = 2;; ++n) {
        const QString last = files::lastComponent(name);
        if (!taken.contains(last)) {
            // This detective's log of that month (the clock went back and forth) is
            // continued; any other existing file is left alone.
            if (user.Files(kind).contains(name) || !files::exists(name))
                return name;
        }
        name = stem + u'_' + QString::number(n) + QStringLiteral(".dat");
    }
}

tProgramData::SaveOutcome tProgramData::storeSession()
{
    m_saveError.clear();
    if (!SessionListsCreated || !CurrentUser)
        return SaveOutcome::Nothing;
    bool pending = false;
    for (ExerciseKind k : AllExerciseKinds)
        pending = pending || m_saved[logIndex(k)] < listSize(*this, k);
    if (!pending)
        return SaveOutcome::Saved;
    if (DataDirReadOnly)
        return SaveOutcome::ReadOnly;

    const FolderGuard lock(*this, true);
    if (!lock.held())
        return SaveOutcome::Failed;
    // Everything is read again from disk: another program, or the data tool, may have
    // changed the files since the login.
    QList<std::shared_ptr<tUser>> all;
    bool missing = false;
    if (!readUserRecords(all, &m_saveError, &missing) && !missing)
        return SaveOutcome::Failed;
    std::shared_ptr<tUser> disk;
    for (const auto& u : all)
        if (u->Name == CurrentUser->Name)
            disk = u;
    if (!disk) {
        m_saveError = QStringLiteral("Der Detektiv %1 wurde gelöscht, während er angemeldet "
                                     "war.\n\rDie Ergebnisse dieser Sitzung werden nicht "
                                     "gespeichert.")
                          .arg(CurrentUser->Name);
        return SaveOutcome::Gone;
    }
    tUser user = *disk;
    // The start levels are this session's.
    user.TelLevel = CurrentUser->TelLevel;
    user.MemoLevel = CurrentUser->MemoLevel;
    if (!repairStored(user, all, &m_saveError))
        return SaveOutcome::Failed;

    bool appendFailed = false;
    for (ExerciseKind k : AllExerciseKinds) {
        const qsizetype from = m_saved[logIndex(k)];
        const qsizetype to = listSize(*this, k);
        if (from >= to)
            continue;
        const QString log = logNameFor(user, k, all);
        if (!user.Files(k).contains(log)) {
            // Announced first, so that the repair knows a torn new log as ours.
            tJournal announced = *m_journal;
            announced[k].pending.append(files::lastComponent(log));
            if (!files::replace(journalPath(), announced.toBytes(), &m_saveError)) {
                appendFailed = true;
                break;
            }
            *m_journal = announced;
        }
        if (!files::appendDurable(log, encodeFrom(*this, k, from), &m_saveError)) {
            appendFailed = true;
            break;
        }
        // On disk now: whatever fails below, the next repair lists and folds them, so
        // they must never be appended again.
        m_saved[logIndex(k)] = int(to);
        if (!user.Files(k).contains(log))
            user.Files(k).append(log);
        user.Logs[logIndex(k)].FileName = log;
        user.Logs[logIndex(k)].LastDate = SerialDate::fromDateTime(SessionStart);
    }

    QList<std::shared_ptr<tUser>> list = all;
    for (auto& u : list)
        if (u->Name == user.Name)
            u = std::make_shared<tUser>(user);
    QString error;
    const bool listed = files::replace(userFilePath(UserName), ff::writeUserFile(list), &error);
    if (listed)
        repairStored(user, list, &error); // folds the new records into the journal
    *CurrentUser = user;
    UserList.clear();
    for (auto& u : list)
        UserList.append(u->Name == user.Name ? CurrentUser : u);
    if (appendFailed)
        return SaveOutcome::Failed;
    // The records are on disk; a later step that failed is completed by the next repair.
    return SaveOutcome::Saved;
}

bool tProgramData::SaveSessionResults(tUser&)
{
    if (!SessionListsCreated)
        return false;
    const SaveOutcome outcome = storeSession();
    if (outcome == SaveOutcome::Failed || outcome == SaveOutcome::Gone)
        plain(saveFailureText());
    return outcome == SaveOutcome::Saved || outcome == SaveOutcome::Nothing;
}

QString tProgramData::saveFailureText() const
{
    if (m_saveError.startsWith(QStringLiteral("Der Detektiv")))
        return m_saveError;
    return QStringLiteral("Das Ergebnis konnte nicht gespeichert werden.\n\r") + m_saveError;
}

tProgramData::LoginOutcome tProgramData::lockLogin(const QString& name)
{
    m_nextLogin.reset();
    if (DataDirReadOnly)
        return LoginOutcome::Taken; // nothing is written there anyway
    const FolderGuard lock(*this, true);
    if (!lock.held())
        return LoginOutcome::Failed;
    if (m_loginLock && m_loginLock->path() == loginLockPath(name) && m_loginLock->refresh())
        return LoginOutcome::Taken; // the same detective again
    auto next = std::make_unique<LoginLock>(loginLockPath(name));
    switch (next->acquire()) {
    case LoginLock::Result::Taken:
        m_nextLogin = std::move(next);
        return LoginOutcome::Taken;
    case LoginLock::Result::Held:
        m_saveError = QStringLiteral("Der Detektiv %1 ist gerade an einem anderen Platz "
                                     "angemeldet.")
                          .arg(name);
        return LoginOutcome::Held;
    default:
        m_saveError = next->errorText();
        return LoginOutcome::Failed;
    }
}

void tProgramData::commitLogin()
{
    if (m_nextLogin)
        m_loginLock = std::move(m_nextLogin);
}

void tProgramData::abandonLogin()
{
    m_nextLogin.reset();
}

bool tProgramData::refreshLogin()
{
    return !m_loginLock || m_loginLock->refresh();
}

void tProgramData::releaseLogin()
{
    m_loginLock.reset();
}

} // namespace gf

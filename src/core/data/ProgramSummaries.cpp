// Session lists, the summary values and their files, and the names of all ".dat" files.

#include "core/data/BinaryIO.h"
#include "core/data/FileFormats.h"
#include "core/data/ProgramData.h"
#include "core/data/Timing.h"
#include "sys/DataFiles.h"

namespace gf {

namespace ff = fileformat;

void tProgramData::createSessionLists()
{
    TelStatList.clear();
    MemoStatList.clear();
    WortStatList.clear();
    BildStatList.clear();
    m_saved.fill(0);
    SessionListsCreated = true;
}

void tProgramData::resetSummaries()
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

// ---- file names -------------------------------------------------------------------------

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
    if (UserName.isEmpty() || UserName == u"-" || !isSafeFileStem(UserName)) {
        plain(QStringLiteral("Kein User ausgewählt"));
        return {};
    }
    const QString base = DataDir + UserName + tag + QStringLiteral(".dat");
    if (!files::exists(base))
        return base;
    return DataDir + UserName + tag + MonthTag() + QStringLiteral(".dat");
}

QString tProgramData::freeResultFileName(const QString& tag)
{
    QString name = ResultFileName(tag);
    if (name.isEmpty())
        return {};
    const QString stem = name.chopped(4);
    for (int n = 2; files::exists(name); ++n)
        name = stem + u'_' + QString::number(n) + QStringLiteral(".dat");
    return name;
}

// ---- summary files ------------------------------------------------------------------------

bool tProgramData::pickSummaryNames(tUser& user)
{
    // A file of that name may be a log or a summary left by an earlier detective of
    // the same name: it is never taken over.
    for (ExerciseKind k : AllExerciseKinds) {
        user.sumFile(k) = freeResultFileName(kindTag(k));
        if (user.sumFile(k).isEmpty())
            return false;
    }
    return true;
}

bool tProgramData::SetupUserFiles(tUser& user)
{
    return pickSummaryNames(user) && CreateSummaryFiles(user);
}

bool tProgramData::writeSummaryFiles(const tUser& user, bool createNew, QStringList* created)
{
    const SerialDate today = SerialDate::fromDate(clock().now().date());
    const QByteArray bytes[4] = {
        ff::writeSeqSummary(today, {TelBest, TelAvg, TelCount}),
        ff::writeSeqSummary(today, {MemoBest, MemoAvg, MemoCount}),
        ff::writeKatSummary(today, {WortAvg, WortCount}),
        ff::writeKatSummary(today, {BildAvg, BildCount}),
    };
    for (ExerciseKind k : AllExerciseKinds) {
        const QString& name = user.sumFile(k);
        QString error;
        bool ok = false;
        if (name.isEmpty())
            error = QStringLiteral("Kein Dateiname für die Zusammenfassung %1.").arg(kindTag(k));
        else if (createNew)
            ok = files::createNew(name, bytes[int(k)], &error);
        else
            ok = files::replace(name, bytes[int(k)], &error);
        if (!ok) {
            plain(QStringLiteral("Fehler beim Erstellen von Dateien: ") + error);
            return false;
        }
        if (created)
            created->append(name);
    }
    return true;
}

bool tProgramData::CreateSummaryFiles(tUser& user)
{
    if (DataDirReadOnly)
        return false; // nothing can be created; the registration reports it
    resetSummaries();
    return writeSummaryFiles(user, true);
}

bool tProgramData::SaveSummaries(tUser& user)
{
    if (DataDirReadOnly)
        return true; // the user file's writer reports the read-only drive
    return writeSummaryFiles(user, false);
}

bool tProgramData::LoadSummaries(tUser& user)
{
    relocateNames(user);
    for (ExerciseKind k : AllExerciseKinds) {
        DataFile file(user.sumFile(k));
        if (!file.open(QIODevice::ReadOnly)) {
            plain(QStringLiteral("Fehler beim Lesen von Dateien: ") + file.errorText());
            return false;
        }
        const int size = isSequence(k) ? ff::SeqSummarySize : ff::KatSummarySize;
        const QByteArray bytes = file.read(size);
        bool ok = false;
        if (isSequence(k)) {
            ff::SeqSummary s;
            ok = ff::readSeqSummary(bytes, s);
            if (ok && k == ExerciseKind::Tel) {
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
            if (ok && k == ExerciseKind::Wort) {
                WortAvg = s.Avg;
                WortCount = s.Count;
            } else if (ok) {
                BildAvg = s.Avg;
                BildCount = s.Count;
            }
        }
        if (!ok) {
            const QString error = file.error() != QFileDevice::NoError
                                      ? file.errorText()
                                      : shortFileText(user.sumFile(k));
            plain(QStringLiteral("Fehler beim Lesen von Dateien: ") + error);
            return false;
        }
    }
    return true;
}

// ---- folding ------------------------------------------------------------------------------

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

} // namespace gf

// Detectives and their user files: names, registration, login, deletion.

#include "core/data/BinaryIO.h"
#include "core/data/FileFormats.h"
#include "core/data/MessageSink.h"
#include "core/data/ProgramData.h"
#include "core/data/Timing.h"
#include "sys/DataFiles.h"

#include <QDir>
#include <QRegularExpression>

#include <algorithm>

namespace gf {

namespace ff = fileformat;

namespace {

constexpr int UserHelpContext = 2222;
// Room a file name needs beyond the detective's name: "TS_04_03_9.dat" for a numbered
// log, or "TS.dat" and more.
constexpr int SuffixRoom = 16;

const QString UserFileEnding = QStringLiteral(".mnu");

} // namespace

// ---- names ------------------------------------------------------------------------

bool tProgramData::isSafeFileStem(const QString& name)
{
    if (name.isEmpty() || name == u"." || name == u"..")
        return false;
    for (QChar c : name)
        if (c == u'/' || c == u'\\' || c.unicode() == 0)
            return false;
    return true;
}

QString tProgramData::checkNewUserName(const QString& name)
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
    // "Zed.mnu.old.mnu" would look like the user file of another name.
    if (name.contains(UserFileEnding, Qt::CaseInsensitive))
        return QStringLiteral("Der Name darf „.mnu“ nicht enthalten.\n\rBitte wählen Sie einen "
                              "anderen Namen!");
    if (!cp1252::canEncode(name))
        return QStringLiteral("Der Name enthält Zeichen, die nicht gespeichert werden können."
                              "\n\rBitte wählen Sie einen anderen Namen!");
    if (name.toUtf8().size() + SuffixRoom > 255)
        return QStringLiteral("Der Name ist zu lang.\n\rBitte wählen Sie einen kürzeren Namen!");
    return {};
}

QString tProgramData::userFilePath(const QString& name) const
{
    const QString exact = DataDir + name + UserFileEnding;
    if (files::exists(exact))
        return exact;
    // A folder from a system that ignores case may hold "Name.MNU".
    for (const QString& entry : files::entries(DataDir)) {
        if (entry.size() == name.size() + 4 && entry.startsWith(name) &&
            entry.endsWith(UserFileEnding, Qt::CaseInsensitive))
            return DataDir + entry;
    }
    return exact;
}

bool tProgramData::userFileExists(const QString& name) const
{
    return !DataDir.isEmpty() && isSafeFileStem(name) && files::exists(userFilePath(name));
}

QStringList tProgramData::listUserSpellings() const
{
    QStringList names;
    if (DataDir.isEmpty())
        return names;
    const QList<files::Entry> entries = files::entryList(DataDir);
    for (const files::Entry& entry : entries) {
        if (entry.name.size() <= UserFileEnding.size() ||
            !entry.name.endsWith(UserFileEnding, Qt::CaseInsensitive))
            continue;
        const QString name = entry.name.chopped(UserFileEnding.size());
        const bool twin = entry.cp1252 && std::any_of(entries.begin(), entries.end(),
                                                       [&](const files::Entry& other) {
                                                           return !other.cp1252 &&
                                                                  other.name == entry.name;
                                                       });
        names.append(twin ? name + QString::fromUtf16(Cp1252Suffix) : name);
    }
    names.sort();
    names.removeDuplicates();
    return names;
}

QStringList tProgramData::listUsers() const
{
    QStringList names;
    if (DataDir.isEmpty())
        return names;
    for (const QString& entry : files::entries(DataDir)) {
        // Only the last ".mnu" ends the name; a file named ".mnu" names nobody.
        if (entry.size() > UserFileEnding.size() &&
            entry.endsWith(UserFileEnding, Qt::CaseInsensitive))
            names.append(entry.chopped(UserFileEnding.size()));
    }
    names.sort();
    names.removeDuplicates();
    return names;
}

void tProgramData::relocateNames(tUser& user) const
{
    // A detective's files live in the data folder, whatever folder a stored name points
    // to: a folder copied from another computer keeps working, and a crafted user file
    // cannot make the program read or write anywhere else.
    for (ExerciseKind k : AllExerciseKinds) {
        user.sumFile(k) = files::inFolder(DataDir, user.sumFile(k));
        for (QString& log : user.Files(k))
            log = files::inFolder(DataDir, log);
        user.Logs[logIndex(k)].FileName = files::inFolder(DataDir, user.Logs[logIndex(k)].FileName);
    }
}

// ---- user file ----------------------------------------------------------------------

bool tProgramData::CreateUserFile()
{
    QString error;
    bool existed = false;
    if (files::createNew(UserFileName, ff::writeUserFile({}), &error, &existed) || existed)
        return true;
    report(QStringLiteral("Fehler: ") + error, mkFehlermeldung, UserHelpContext);
    return false;
}

bool tProgramData::LoadUserFile()
{
    UserList.clear();
    if (!isSafeFileStem(UserName)) {
        UserFileName.clear();
        report(QStringLiteral("Fehler: Ungültiger Name eines Detektivs: ") + UserName,
               mkFehlermeldung, UserHelpContext);
        return false;
    }
    UserFileName = userFilePath(UserName);
    if (!files::exists(UserFileName) && !CreateUserFile())
        return false;

    DataFile file(UserFileName);
    if (!file.open(QIODevice::ReadOnly)) {
        report(QStringLiteral("Fehler: ") + file.errorText(), mkFehlermeldung, UserHelpContext);
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
        report(QStringLiteral("Fehler: ") + file.errorText(), mkFehlermeldung, UserHelpContext);
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
    const FolderGuard lock(*this);
    if (!lock.held())
        return false;
    QString error;
    if (files::replace(UserFileName, ff::writeUserFile(UserList), &error))
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

// ---- registration, login, deletion ----------------------------------------------------

bool tProgramData::registerUser(const QString& typedName, quint16 slot)
{
    const QString name = typedName.trimmed();
    if (const QString reason = checkNewUserName(name); !reason.isEmpty()) {
        report(reason, mkAchtung);
        return false;
    }
    // Another program registering the same name waits here, then finds it taken.
    const FolderGuard lock(*this);
    if (!lock.held())
        return false;
    UserName = name;
    UserFileName = DataDir + name + UserFileEnding;
    const auto taken = [&] {
        report(QStringLiteral("Der Detektiv ") + typedName +
                   QStringLiteral(" ist bereits registriert!\n\rBitte wählen Sie einen "
                                  "anderen Namen!"),
               mkAchtung);
        return false;
    };
    // Names that differ only in case share one file where case is ignored.
    for (const QString& existing : listUsers())
        if (existing.compare(name, Qt::CaseInsensitive) == 0)
            return taken();
    QString error;
    bool existed = false;
    if (!files::createNew(UserFileName, ff::writeUserFile({}), &error, &existed)) {
        if (existed)
            return taken();
        report(QStringLiteral("Fehler: ") + error, mkFehlermeldung, UserHelpContext);
        return false;
    }
    // A half-registered detective would be listed but could never be opened; only
    // what this registration created is taken back.
    QStringList created{UserFileName};
    const auto undo = [&created] {
        for (const QString& file : created)
            files::remove(file, nullptr);
        return false;
    };
    if (!LoadUserFile()) {
        report(userInfoUnavailableText(), mkFehlermeldung, UserHelpContext);
        return undo();
    }

    auto user = std::make_shared<tUser>();
    user->Name = name.left(255);
    user->RegSlot = slot;
    UserName = user->Name;
    bool ok = pickSummaryNames(*user) && !DataDirReadOnly;
    if (ok) {
        resetSummaries();
        ok = writeSummaryFiles(*user, true, &created);
    }
    if (!ok) {
        report(QStringLiteral("Beim Anlegen des Detektivs ") + typedName +
                   QStringLiteral(" ist ein Fehler aufgetreten!\n\rBitte starten Sie das Programm "
                                  "neu und versuchen Sie es noch einmal!"),
               mkAchtung);
        return undo();
    }
    user->RegDate = SerialDate::fromDate(clock().now().date());
    UserList.append(user);
    if (!SaveUserFile()) {
        UserList.removeAll(user);
        return undo();
    }
    return true;
}

bool tProgramData::openUser()
{
    if (!userFileExists(UserName)) {
        plain(QStringLiteral("Fehler: Detektiv ") + UserName + QStringLiteral(" existiert nicht!"));
        return false;
    }
    if (!LoadUserFile()) {
        report(userInfoUnavailableText(), mkFehlermeldung, UserHelpContext);
        return false;
    }
    auto user = FindUser(UserName);
    if (!user) {
        plain(QStringLiteral("Fehler: Detektiv ") + UserName + QStringLiteral(" existiert nicht!"));
        return false;
    }
    CurrentUser = user;
    // What an interrupted save left is completed before anything is shown or added.
    repairCurrent();
    return true;
}

bool tProgramData::deleteUser(const QString& name)
{
    const QString n = name.trimmed();
    const auto unknown = [&] {
        plain(QStringLiteral("Fehler: Detektiv ") + n + QStringLiteral(" existiert nicht!"));
        return false;
    };
    if (!isSafeFileStem(n))
        return unknown();
    const FolderGuard lock(*this);
    if (!lock.held())
        return false;
    static const QRegularExpression ownDat(
        QStringLiteral("^(TS|BS|WS|BK)(_\\d\\d_\\d\\d(_\\d+)?)?\\.dat$"),
        QRegularExpression::CaseInsensitiveOption);
    // Two detectives may share a name in two spellings on disk: only the files of the
    // spelling whose user file is taken go.
    const QList<files::Entry> entries = files::entryList(DataDir);
    const bool twoSpellings = files::hasTwoSpellings(userFilePath(n));
    const bool cp1252 = twoSpellings ? files::prefersCp1252() : [&] {
        for (const files::Entry& e : entries)
            if (e.name.startsWith(n) &&
                e.name.mid(n.size()).compare(UserFileEnding, Qt::CaseInsensitive) == 0)
                return e.cp1252;
        return false;
    }();
    QStringList own, userFiles;
    for (const files::Entry& entry : entries) {
        if (!entry.name.startsWith(n) || entry.cp1252 != cp1252)
            continue;
        const QString rest = entry.name.mid(n.size());
        if (rest.compare(UserFileEnding, Qt::CaseInsensitive) == 0)
            userFiles.append(entry.name);
        else if (ownDat.match(rest).hasMatch() || rest == u".gfj" || rest == u".gfl")
            own.append(entry.name);
    }
    if (userFiles.isEmpty())
        return unknown();
    // The user file goes last: while it stays, the detective is listed and a repeated
    // delete can reach whatever could not be removed this time.
    bool all = true;
    for (const QStringList* group : {&own, &userFiles}) {
        for (const QString& entry : *group) {
            QString error;
            if (!files::remove(DataDir + entry, &error)) {
                plain(QStringLiteral("Fehler: ") + error);
                all = false;
            }
        }
        if (!all)
            return false;
    }
    if (UserName == n)
        UserName = QStringLiteral("-");
    return true;
}

} // namespace gf

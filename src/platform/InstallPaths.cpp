#include "platform/InstallPaths.h"

#include "core/data/MessageSink.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStringList>
#include <memory>

namespace gf {

namespace {

constexpr int kMaxFolderLength = 255;

QString g_settingsFileForTests;

const QString kFatalMessage =
    QStringLiteral("Schwerwiegender Fehler: \n\rProgramm- Oder Verzeichnisinformationen nicht "
                   "verfügbar.\n\rGrips-Fix kann nicht gestartet werden!");

// An INI value with a comma reads as a list; the folder is the whole text.
QString stringValue(const QSettings& settings, const QString& key)
{
    const QVariant value = settings.value(key);
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QLatin1Char(','));
#ifdef Q_OS_WIN
    return QDir::fromNativeSeparators(value.toString());
#else
    return value.toString();
#endif
}

std::unique_ptr<QSettings> openSettings()
{
    if (!g_settingsFileForTests.isEmpty()) {
        if (!QFileInfo::exists(g_settingsFileForTests))
            return nullptr;
        return std::make_unique<QSettings>(g_settingsFileForTests, QSettings::IniFormat);
    }
#ifdef Q_OS_WIN
    const QString key = QStringLiteral("HKEY_LOCAL_MACHINE\\Software\\Tannwald\\GripsFix");
    auto settings = std::make_unique<QSettings>(key, QSettings::NativeFormat);
    if (settings->allKeys().isEmpty()) // a 32-bit installer writes to the 32-bit view
        settings = std::make_unique<QSettings>(key, QSettings::Registry32Format);
#else
    auto settings =
        std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::SystemScope,
                                    QStringLiteral("Tannwald"), QStringLiteral("GripsFix"));
#endif
    if (settings->allKeys().isEmpty() && settings->status() == QSettings::NoError)
        return nullptr;
    return settings;
}

// "BMP/" beside the program, found without regard to case like every media name.
QString subFolder(const QString& installDir, const QString& name)
{
    const QDir dir(installDir);
    if (!dir.exists(name)) {
        const QStringList entries = dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
        for (const QString& entry : entries) {
            if (entry.compare(name, Qt::CaseInsensitive) == 0)
                return installDir + entry + QLatin1Char('/');
        }
    }
    return installDir + name + QLatin1Char('/');
}

} // namespace

QString programDirValue(const QString& programDir)
{
    QString dir = QDir::cleanPath(QDir(programDir).absolutePath());
    if (!dir.endsWith(QLatin1Char('/')))
        dir += QLatin1Char('/');
    return dir;
}

QString folderValue(const QString& stored, int maxLength)
{
    QString value = maxLength >= 0 ? stored.left(maxLength) : stored;
    if (value.endsWith(QLatin1Char('\\')))
        value.chop(1);
    else if (value.endsWith(QLatin1Char('/')))
        return value;
    return value + QLatin1Char('/');
}

bool ReadInstallPaths(InstallPaths& out, const QString& programDir, MessageSink& messages)
{
    const std::unique_ptr<QSettings> settings = openSettings();
    return ReadInstallPaths(out, programDir, messages, settings.get());
}

bool ReadInstallPaths(InstallPaths& out, const QString& programDir, MessageSink& messages,
                      QSettings* settings)
{
    out.ProgramDir = programDirValue(programDir);
    out.SettingsFile.clear();
    if (!settings) {
        out.InstallDir = out.ProgramDir;
        out.BmpDir = subFolder(out.InstallDir, QStringLiteral("BMP"));
        out.WavDir = subFolder(out.InstallDir, QStringLiteral("WAV"));
        out.HlpDir = subFolder(out.InstallDir, QStringLiteral("HLP"));
        return true;
    }

    const QString path = stringValue(*settings, QStringLiteral("Path"));
    if (settings->status() != QSettings::NoError || path.isEmpty()) {
        messages.message(kFatalMessage, mkFehlermeldung, btn::OK, 0);
        return false;
    }
    out.InstallDir = folderValue(path);
    out.SettingsFile = settings->fileName();
    out.WavDir = folderValue(stringValue(*settings, QStringLiteral("Wav")), kMaxFolderLength);
    out.BmpDir = folderValue(stringValue(*settings, QStringLiteral("Bmp")), kMaxFolderLength);
    out.HlpDir = folderValue(stringValue(*settings, QStringLiteral("Hlp")), kMaxFolderLength);
    return true;
}

void setInstallSettingsFileForTests(const QString& iniPath)
{
    g_settingsFileForTests = iniPath;
}

} // namespace gf

#include "shell/Startup.h"

#include "core/data/MessageSink.h"

#include <QFileInfo>
#include <algorithm>

namespace gf {

namespace {

QStringList numbered(const QString& prefix, int last, const QString& suffix)
{
    // Text order, as a file-name sort gives it: J1, J10..J17, J2..J9.
    QStringList names;
    for (int i = 1; i <= last; ++i)
        names << prefix + QString::number(i) + suffix;
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

const QStringList& inventoryPictures()
{
    static const QStringList names{
        "Abdruck_1.bmp", "Abdruck_2.bmp", "Abdruck_3.bmp", "Abdruck_4.bmp", "Auto.bmp",
        "beach.bmp", "Credits.bmp", "falsch.bmp", "FAX.BMP", "FAX1.BMP", "FAX2.BMP",
        "geige.bmp", "Harfe.bmp", "Hemd_1.bmp", "Hemd_2.bmp", "Hemd_3.bmp", "Hemd_4.bmp",
        "Hintergrund.bmp", "Huhn.bmp", "Hund.bmp", "Hut_1.bmp", "Hut_2.bmp", "Hut_3.bmp",
        "Hut_4.bmp", "KOFFER_1.BMP", "KOFFER_2.BMP", "KOFFER_3.BMP", "KOFFER_4.BMP", "Kuh.bmp",
        "LKW_1.bmp", "LKW_2.bmp", "LKW_3.bmp", "LKW_4.bmp", "Logo.bmp", "logo_klein.bmp",
        "Mann_1.bmp", "Mann_2.bmp", "Mann_3.bmp", "Mann_4.bmp", "ok.bmp", "Orgel.bmp",
        "punkt.bmp", "richtig.bmp", "schluessel.bmp", "Schluessel_1.bmp", "Schluessel_2.bmp",
        "Schluessel_3.bmp", "Schluessel_4.bmp", "Schuh_1.bmp", "Schuh_2.bmp", "Schuh_3.bmp",
        "Schuh_4.bmp", "Sterne.bmp", "S_1.bmp", "S_2.bmp", "S_3.bmp", "S_4.bmp",
        "TASCHE_1.BMP", "TASCHE_2.BMP", "TASCHE_3.BMP", "tasche_4.bmp", "Titel.bmp",
        "Trommel.bmp", "Trompete.bmp", "Tuch_1.bmp", "Tuch_2.bmp", "Tuch_3.bmp", "Tuch_4.bmp",
        "tueren2.bmp", "Vogel.bmp", "Wolken.bmp"};
    return names;
}

const QStringList& inventorySounds()
{
    static const QStringList names = [] {
        QStringList n;
        for (int d = 0; d <= 9; ++d)
            n << QString::number(d) + ".WAV";
        n << "CELLULAR.WAV" << "DRUMROL3.WAV" << "GEIGE.WAV" << "HAHN.WAV" << "HARFE.WAV"
          << "HONK.WAV" << "HUND.WAV";
        n << numbered("J", 17, ".WAV");
        n << "JINGLE.WAV" << "KUH.WAV";
        n << numbered("N", 20, ".WAV");
        n << "ORGEL.WAV" << "S1.WAV" << "S1WBL.WAV" << "S2.WAV" << "S2WBL.WAV" << "TROMPETE.WAV"
          << "VOGEL.WAV" << "WAHLPULS.WAV" << "WAHLTON.WAV";
        return n;
    }();
    return names;
}

const QStringList& inventoryHelpPages()
{
    static const QStringList names = [] {
        QStringList n;
        for (int i = 1; i <= 19; ++i)
            n << "hlp" + QString::number(i) + ".rtf";
        for (int i = 1; i <= 9; ++i)
            n << "tip" + QString::number(i) + ".rtf";
        return n;
    }();
    return names;
}

QString missingFileMessage(const QString& bareName)
{
    return "Die Datei \"" + bareName +
           "\"\n\r konnte nicht gefunden werden.\n\rMöglicherweise fehlen noch weitere "
           "Dateien!\n\rDa die korrekte Funktion des Programms \n\rdaher nicht garantiert "
           "werden kann,\n\rwird das Programm beendet!";
}

bool CheckMediaFiles(const InstallPaths& paths, MessageSink& messages, const FileExistsFn& exists)
{
    const std::pair<const QString*, const QStringList*> lists[] = {
        {&paths.BmpDir, &inventoryPictures()},
        {&paths.WavDir, &inventorySounds()},
        {&paths.HlpDir, &inventoryHelpPages()},
    };
    for (const auto& [folder, names] : lists) {
        for (const QString& name : *names) {
            if (!exists(*folder, name)) {
                QString text = missingFileMessage(name);
                // settings left behind by another installation are the likely cause
                if (!paths.SettingsFile.isEmpty() && !QFileInfo(*folder).isDir())
                    text += QStringLiteral("\n\rDie Einstellungen „%1“ nennen den Ordner „%2“, "
                                           "den es nicht gibt.")
                                .arg(paths.SettingsFile, *folder);
                messages.message(text, mkFehlermeldung, btn::OK, 0);
                return false;
            }
        }
    }
    return true;
}


} // namespace gf

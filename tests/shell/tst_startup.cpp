#include "core/data/MessageSink.h"
#include "shell/Startup.h"
#include "support/Recording.h"
#include "toolkit/TSkinButton.h"

#include <QDir>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QSet>
#include <QTest>

using namespace gf;
using gf::test::RecordingSink;

namespace gf::test {

class TstStartup final : public QObject
{
    Q_OBJECT

private slots:
    void inventoryHasEveryFileOnce()
    {
        QCOMPARE(inventoryPictures().size(), 71);
        QCOMPARE(inventorySounds().size(), 65);
        QCOMPARE(inventoryHelpPages().size(), 28);
        QSet<QString> seen;
        for (const auto* list : {&inventoryPictures(), &inventorySounds(), &inventoryHelpPages()})
            for (const QString& n : *list) {
                QVERIFY2(!seen.contains(n.toLower()), qPrintable(n));
                seen.insert(n.toLower());
            }
        // Praise sounds are checked in text order: J1, J10 .. J17, J2 .. J9.
        const QStringList& s = inventorySounds();
        const int j1 = s.indexOf("J1.WAV");
        QCOMPARE(s.mid(j1, 3), (QStringList{"J1.WAV", "J10.WAV", "J11.WAV"}));
        QCOMPARE(s.at(s.indexOf("J17.WAV") + 1), QString("J2.WAV"));
        QCOMPARE(s.at(s.indexOf("N9.WAV") + 1), QString("ORGEL.WAV"));
    }

    void mediaCheckNamesFirstMissingFile()
    {
        InstallPaths paths{"/p/", "/p/", "/p/BMP/", "/p/WAV/", "/p/HLP/"};
        RecordingSink sink;
        QStringList asked;
        // Everything but the last tip page and one sound present: the sound comes first.
        auto exists = [&](const QString& folder, const QString& name) {
            asked << folder + name;
            return name != "tip9.rtf" && name != "J12.WAV";
        };
        QVERIFY(!CheckMediaFiles(paths, sink, exists));
        QCOMPARE(sink.entries.size(), 1);
        QVERIFY(sink.entries.first().text.startsWith("Die Datei \"J12.WAV\"\n\r konnte nicht"));
        QCOMPARE(sink.entries.first().kind, int(mkFehlermeldung));
        QCOMPARE(asked.last(), QString("/p/WAV/J12.WAV"));

        sink.clear();
        auto onlyTipMissing = [](const QString&, const QString& name) {
            return name != "tip9.rtf";
        };
        QVERIFY(!CheckMediaFiles(paths, sink, onlyTipMissing));
        QVERIFY(sink.entries.first().text.contains("\"tip9.rtf\""));

        // settings that name a folder that is not there say so after the message
        paths.SettingsFile = "/etc/xdg/Tannwald/GripsFix.conf";
        sink.clear();
        QVERIFY(!CheckMediaFiles(paths, sink, onlyTipMissing));
        QVERIFY(sink.entries.first().text.endsWith(
            "beendet!\n\rDie Einstellungen „/etc/xdg/Tannwald/GripsFix.conf“ nennen den Ordner "
            "„/p/HLP/“, den es nicht gibt."));
        paths.HlpDir = QDir::tempPath() + "/";
        sink.clear();
        QVERIFY(!CheckMediaFiles(paths, sink, onlyTipMissing));
        QVERIFY(sink.entries.first().text.endsWith("beendet!"));

        sink.clear();
        QVERIFY(CheckMediaFiles(paths, sink, [](const QString&, const QString&) { return true; }));
        QVERIFY(sink.entries.isEmpty());
    }

    void scaleControlMovesLabelsButLeavesSkinnedButtons()
    {
        QWidget window;
        window.resize(800, 600);
        auto* label = new QLabel("x", &window);
        label->setGeometry(100, 50, 200, 20);
        QFont font("Arial");
        font.setPixelSize(21);
        label->setFont(font);
        auto* panel = new QFrame(&window);
        panel->setGeometry(0, 560, 800, 40);
        auto* inPanel = new QLabel("y", panel);
        inPanel->setGeometry(10, 5, 100, 30);
        auto* skinned = new TSkinButton("Exit", QSize(184, 45), &window);
        skinned->move(300, 400);
        auto* list = new QListWidget(&window);
        list->setGeometry(10, 10, 100, 100);

        const ScaleFactors f = computeScaleFactors(1024, 768, 800, 600, 27);
        adaptWindow(&window, f, 1024, 768);

        QCOMPARE(window.geometry().size(), QSize(1024, 768));
        QCOMPARE(label->x(), 127); // 100 * 0.9926 * 1.28
        QCOMPARE(label->y(), qRound(50 * f.font * 1.28));
        QCOMPARE(label->font().pixelSize(), qRound(21 * f.font * 1.28));
        QCOMPARE(panel->y(), qRound(560 * f.font * 1.28));
        QCOMPARE(inPanel->x(), qRound(10 * f.font * 1.28));
        QCOMPARE(skinned->geometry(), QRect(300, 400, 184, 45));
        QCOMPARE(list->width(), qRound(100 * f.font * 1.28));
    }

    void identityScaleChangesOnlyByFontFactor()
    {
        QWidget window;
        auto* label = new QLabel("x", &window);
        label->setGeometry(100, 50, 200, 20);
        adaptWindow(&window, computeScaleFactors(800, 600, 800, 600, 268 / 10), 800, 600);
        // 26.8 / 26: every bound grows by about 3 %.
        QCOMPARE(label->geometry(), QRect(103, 52, 206, 21));
    }
};

} // namespace gf::test

QTEST_MAIN(gf::test::TstStartup)
#include "tst_startup.moc"

#include "support/DataSupport.h"
#include "support/GuiFixture.h"
#include "support/Modal.h"

#include "core/data/FileFormats.h"
#include "exercises/results/TFortschrittDlg.h"
#include "platform/Printing.h"
#include "toolkit/THelpWin.h"
#include "toolkit/TPushButton.h"

#include <QPainter>
#include <QStandardPaths>
#include <QtTest>

using namespace gf;

namespace gf::test {

// The "Fortschritt" window and its page on paper.
class TstFortschritt : public QObject
{
    Q_OBJECT

    // Anna trained in weeks 6, 7 and 9 of 2004 (none in week 8) and today, 5.3.2004.
    static std::unique_ptr<tProgramData> anna(DataFolder& f)
    {
        f.reset();
        auto d = f.registered("Anna");
        tUser& user = *d->CurrentUser;
        f.write("AnnaWS_04_02.dat",
                wordRecord(serial(2004, 2, 2, 10), {4, 4, 4, 4}, {4, 3, 2, 1}) +
                    wordRecord(serial(2004, 2, 13, 10), {4, 4, 4, 4}, {4, 4, 2, 2}) +
                    wordRecord(serial(2004, 2, 26, 10), {4, 4, 4, 4}, {4, 4, 3, 2}));
        QByteArray tel;
        for (auto [day, span] : {std::pair{3, 5}, std::pair{25, 6}}) {
            auto r = seqStat<tTeleStat>(1, span, span + 1);
            r.Stamp = SerialDate::fromDateTime(QDateTime(QDate(2004, 2, day), QTime(9, 0)));
            fileformat::encodeTel(r, tel);
        }
        f.write("AnnaTS_04_02.dat", tel);
        user.WortFiles = {f.path("AnnaWS_04_02.dat")};
        user.TelFiles = {f.path("AnnaTS_04_02.dat")};
        d->SaveUserFile();
        tWortKatStat today; // not stored yet
        today.Stamp = SerialDate::fromDateTime(f.clock.moment);
        today.AskedPerLevel.v = {4, 4, 4, 4};
        today.CorrectPerLevel.v = {4, 4, 4, 3};
        d->WortStatList = {today};
        return d;
    }

private slots:
    // By keyboard: pages 1 to 4, the range by the arrows, gaps in weeks without training,
    // today's exercise on the chart, help and the printed page.
    void keyboardPagesRangesAndPrint()
    {
        DataFolder f;
        GuiContext env;
        auto d = anna(f);
        QVERIFY(d);
        env.ctx.data = d.get();
        TFortschrittDlg dlg(env.ctx);
        dlg.open();
        QVERIFY(QTest::qWaitForWindowActive(&dlg));
        const auto shot = [&](const char* name) {
            test::shot(&dlg, QStringLiteral("fortschritt_") + name);
        };
        QCOMPARE(dlg.rangeIndex(), 1);
        const auto words = [&] { return reportPage(dlg.Chart->Report, ExerciseKind::Wort); };
        QCOMPARE(words().weeks.size(), 12);
        // Stufe IV in weeks 6, 7, (8 without training), 9, 10 (today, not yet stored)
        QCOMPARE(words().charts[0].series[3].values.mid(7),
                 (QList<std::optional<double>>{25.0, 50.0, std::nullopt, 50.0, 75.0}));
        const char* names[4] = {"wort", "bild", "telefon", "memo"};
        for (int page : {1, 2, 3, 0}) {
            QTest::keyClick(&dlg, char('1' + page));
            QCOMPARE(dlg.Chart->Exercise, ReportPageOrder[page]);
            shot(names[page]);
        }
        QTest::keyClick(&dlg, Qt::Key_Right);
        QCOMPARE(words().weeks.size(), 52);
        QTest::keyClick(&dlg, Qt::Key_Right);
        QCOMPARE(words().weeks.first(), QString("2004-W06")); // everything: from the first week
        shot("alles");
        for (int i = 0; i < 3; ++i)
            QTest::keyClick(&dlg, Qt::Key_Left);
        QCOMPARE(words().weeks, (QStringList{"2004-W07", "2004-W08", "2004-W09", "2004-W10"}));

        QStringList help;
        setHelpPageHook([&](const QString& path) { help << QFileInfo(path).fileName(); });
        QTest::keyClick(&dlg, Qt::Key_F1);
        setHelpPageHook({});
        QCOMPARE(help, QStringList{"fortschritt.rtf"});

        QTemporaryDir dir;
        setPrintTargetForTests(dir.filePath("verlauf.pdf"));
        ModalPlayer::key(&dlg, Qt::Key_D, Qt::AltModifier);
        setPrintTargetForTests(QString());
        QVERIFY(QFileInfo(dir.filePath("verlauf.pdf")).size() > 2000);
        dlg.done(mrOk);
    }

    // The report's PDF page, rasterised by poppler, is the page the drawing routine makes
    // in an image of the same size.
    void pdfPageIsTheDrawnPage()
    {
        const QString pdftoppm = QStandardPaths::findExecutable("pdftoppm");
        QVERIFY2(!pdftoppm.isEmpty(), "pdftoppm (poppler-utils) is missing");
        DataFolder f;
        auto d = anna(f);
        QVERIFY(d);
        const tProgressReport report = buildProgressReport(*d->CurrentUser, DayRange{});
        const QDate today(2004, 3, 5);
        QVERIFY(writeProgressReportPdf(report, f.path("bericht.pdf"), today, nullptr));
        constexpr int Dpi = 100;
        QProcess run;
        run.start(pdftoppm, {"-f", "3", "-l", "3", "-r", QString::number(Dpi), "-gray", "-png",
                             f.path("bericht.pdf"), f.path("seite")});
        QVERIFY(run.waitForFinished(30000) && run.exitCode() == 0);
        const QImage printed =
            QImage(f.path("seite-3.png")).convertToFormat(QImage::Format_Grayscale8);

        // Drawn at the PDF's own resolution, so that both round the text alike.
        constexpr int Scale = 3;
        QImage drawn(printed.size() * Scale, QImage::Format_RGB32);
        drawn.setDotsPerMeterX(qRound(Scale * Dpi / 0.0254));
        drawn.setDotsPerMeterY(qRound(Scale * Dpi / 0.0254));
        drawn.fill(Qt::white);
        {
            QPainter p(&drawn);
            const int margin = qRound(12 * Scale * Dpi / 25.4); // the report's page margins
            tProgressLook paper;
            paper.pageNo = 3;
            drawProgressPage(p, drawn.rect().adjusted(margin, margin, -margin, -margin), report,
                             ExerciseKind::Tel, today, paper);
        }
        const QImage grey =
            drawn.scaled(printed.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                .convertToFormat(QImage::Format_Grayscale8);
        // Blocks of 8 x 8 pixels compared by their mean grey: the text is rendered by two
        // different rasterisers, so single pixels differ, whole blocks must not.
        double sum = 0, worst = 0, blocks = 0;
        for (int by = 0; by + 8 <= grey.height(); by += 8)
            for (int bx = 0; bx + 8 <= grey.width(); bx += 8, ++blocks) {
                int diff = 0;
                for (int y = by; y < by + 8; ++y)
                    for (int x = bx; x < bx + 8; ++x)
                        diff += grey.constScanLine(y)[x] - printed.constScanLine(y)[x];
                sum += std::abs(diff) / 64.0;
                worst = std::max(worst, std::abs(diff) / 64.0);
            }
        QVERIFY2(sum / blocks < 2.0 && worst < 40,
                 qPrintable(QString("mean %1, worst %2").arg(sum / blocks).arg(worst)));
    }
};

} // namespace gf::test

QTEST_MAIN(gf::test::TstFortschritt)
#include "tst_fortschritt.moc"

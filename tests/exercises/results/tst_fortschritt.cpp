#include "support/DataSupport.h"
#include "support/GuiFixture.h"
#include "support/Modal.h"

#include "exercises/results/TFortschrittDlg.h"
#include "platform/Printing.h"
#include "toolkit/THelpWin.h"
#include "toolkit/TPushButton.h"
#include "toolkit/WindowScaling.h"

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
        Bytes tel;
        for (auto [day, span] : {std::pair{3, 5}, std::pair{25, 6}}) {
            tel.u16(2).u16(0).u16(1).f64(serial(2004, 2, day, 9)).u16(10).i32(span).u16(3).u16(span + 1);
            tel.b.append(676, '\0');
        }
        f.write("AnnaTS_04_02.dat", tel.b);
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
    // today's exercise on the chart, and the printed page; at both screen sizes.
    void keyboardPagesRangesAndPrint_data()
    {
        QTest::addColumn<QSize>("screen");
        QTest::newRow("800") << QSize(800, 600);
        QTest::newRow("1024") << QSize(1024, 768);
    }
    void keyboardPagesRangesAndPrint()
    {
        QFETCH(QSize, screen);
        DataFolder f;
        GuiContext env;
        auto d = anna(f);
        QVERIFY(d);
        env.ctx.data = d.get();
        TFortschrittDlg dlg(env.ctx);
        adaptWindow(&dlg, computeScaleFactors(screen.width(), screen.height(), 800, 600, 0),
                    screen.width(), screen.height());
        dlg.open();
        QVERIFY(QTest::qWaitForWindowActive(&dlg));
        const auto shot = [&](const char* name) {
            test::shot(&dlg, QStringLiteral("fortschritt_%1_%2").arg(name).arg(screen.width()));
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
            QVERIFY(dlg.PageBtn[page]->isChecked());
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
        QVERIFY(dlg.RangeBtn[0]->isChecked() && !dlg.RangeBtn[1]->isChecked());

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
        if (const QString out = qEnvironmentVariable("GF_SHOT_DIR"); !out.isEmpty())
            QFile::copy(dir.filePath("verlauf.pdf"), out + "/fortschritt_druck.pdf");
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
        const QString pdf = f.path("bericht.pdf");
        QVERIFY(writeProgressReportPdf(report, pdf, today, nullptr));
        constexpr int Dpi = 100;
        QProcess run;
        run.start(pdftoppm, {"-f", "3", "-l", "3", "-r", QString::number(Dpi), "-gray", "-png",
                             pdf, f.path("seite")});
        QVERIFY(run.waitForFinished(30000) && run.exitCode() == 0);
        const QImage printed = QImage(f.path("seite-3.png")).convertToFormat(QImage::Format_Grayscale8);
        QVERIFY(!printed.isNull());

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
        const QImage grey = drawn.scaled(printed.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                                .convertToFormat(QImage::Format_Grayscale8);
        if (const QString out = qEnvironmentVariable("GF_SHOT_DIR"); !out.isEmpty()) {
            printed.save(out + "/fortschritt_pdf_seite3.png");
            grey.save(out + "/fortschritt_bild_seite3.png");
        }
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

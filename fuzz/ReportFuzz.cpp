// The progress report drawn from hostile logs: no value may stretch a scale beyond what
// a record can hold, and no input may take long.
#include "FuzzTargets.h"

#include "core/data/ProgramData.h"
#include "core/results/ProgressReport.h"
#include "render/ProgressReportPdf.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cmath>
#include <cstdlib>

namespace gffuzz {

using namespace gf;

namespace {
constexpr qint64 TimeLimitMs = 5000;

void check(bool property)
{
    if (!property)
        std::abort();
}

// Drawing needs fonts, and fonts a Gui application; off screen, made once and kept to
// the end (destroyed among the static objects at exit it would crash).
void ensureGuiApplication()
{
    if (QCoreApplication::instance())
        return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "gf_fuzz_report";
    static char* argv[] = {name, nullptr};
    new QGuiApplication(argc, argv);
}
} // namespace

int report(const uint8_t* data, size_t size)
{
    ensureGuiApplication();
    QElapsedTimer clock;
    clock.start();
    static const QString file =
        QDir::tempPath() +
        QStringLiteral("/gf_fuzz_report_%1.dat").arg(QCoreApplication::applicationPid());
    {
        QFile out(file);
        if (!out.open(QIODevice::WriteOnly))
            return 0;
        out.write(reinterpret_cast<const char*>(data), qint64(size));
    }
    tUser u;
    u.Name = QStringLiteral("Fuzz");
    for (ExerciseKind k : AllExerciseKinds)
        u.Files(k) = {file};
    const tProgressReport r = buildProgressReport(u, DayRange{});
    QFile::remove(file);

    QImage page(842, 595, QImage::Format_RGB32);
    for (ExerciseKind exercise : ReportPageOrder) {
        const tReportPage content = reportPage(r, exercise);
        const int cap = exercise == ExerciseKind::Tel    ? ReportTelTop
                        : exercise == ExerciseKind::Memo ? ReportMemoTop
                                                         : 100;
        for (const tReportChart& chart : content.charts) {
            check(chart.yMax > 0 && chart.yMax <= cap && chart.yStep > 0);
            for (const tReportSeries& s : chart.series)
                for (const auto& v : s.values)
                    check(!v || (std::isfinite(*v) && *v >= 0 && *v <= chart.yMax));
        }
        QPainter p(&page);
        drawProgressPage(p, page.rect(), r, exercise, QDate(2004, 3, 1));
    }
    check(clock.elapsed() < TimeLimitMs);
    return 0;
}

} // namespace gffuzz

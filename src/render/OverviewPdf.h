#pragma once

#include <QString>

namespace gf {

struct tOverview;

// The therapist's overview on A4 paper, as many pages as the detectives need, black on
// white. An earlier file is replaced only when the whole overview is written.
bool writeOverviewPdf(const tOverview& overview, const QString& fileName, QString* error);

} // namespace gf

#include "platform/ViewSettings.h"

#include <QSettings>

namespace gf {

ViewSettings readViewSettings()
{
    ViewSettings v;
    QSettings s(QSettings::UserScope, QStringLiteral("Tannwald"), QStringLiteral("GripsFix"));
    v.lowVision = s.value(QStringLiteral("Ansicht/Sehhilfe"), false).toBool();
    const int percent = s.value(QStringLiteral("Ansicht/Schriftgroesse"), 100).toInt();
    v.textPercent = percent == 125 || percent == 150 ? percent : 100;
    return v;
}

bool writeViewSettings(const ViewSettings& v)
{
    QSettings s(QSettings::UserScope, QStringLiteral("Tannwald"), QStringLiteral("GripsFix"));
    s.setValue(QStringLiteral("Ansicht/Sehhilfe"), v.lowVision);
    s.setValue(QStringLiteral("Ansicht/Schriftgroesse"), v.textPercent);
    s.sync();
    return s.status() == QSettings::NoError;
}

} // namespace gf

// tProgramData: construction, messages and the data folder's lock. The jobs live in
// ProgramUsers.cpp (detectives and user file), ProgramSummaries.cpp, ProgramLogs.cpp,
// ResultWalk.cpp (reading results back) and ProgramExport.cpp.

#include "core/data/ProgramData.h"

#include "core/data/Journal.h"
#include "core/data/MessageSink.h"
#include "core/data/Timing.h"
#include "sys/DataFiles.h"

#include <QDir>

namespace gf {

namespace {
// Long enough for another program to finish a save, short enough to give up on one
// that hangs.
constexpr std::chrono::seconds LockWait{10};
} // namespace

tProgramData::tProgramData(MessageSink* sink, Clock* clock) : m_sink(sink), m_clock(clock)
{
    SessionStart = this->clock().now();
    resetSummaries();
}

tProgramData::~tProgramData() = default;

Clock& tProgramData::clock() const
{
    return m_clock ? *m_clock : systemClock();
}

void tProgramData::setDataDir(const QString& folder)
{
    DataDir = QDir::fromNativeSeparators(folder);
    if (!DataDir.isEmpty() && !DataDir.endsWith(u'/'))
        DataDir += u'/';
}

void tProgramData::report(const QString& text, int kind, int helpContext) const
{
    if (m_sink)
        m_sink->message(text, kind, btn::OK, helpContext);
}

void tProgramData::plain(const QString& text) const
{
    if (m_sink)
        m_sink->plainMessage(text);
}

QString tProgramData::supportContact()
{
    // Trainees use the program under care: their therapist is the first to ask.
    return QStringLiteral("Ihre Therapeutin oder Ihren Therapeuten\n\roder den Grips-Fix-"
                          "Kundendienst der Firma Tannwald");
}

QString tProgramData::userInfoUnavailableText()
{
    return QStringLiteral("Die Benutzerinformationen sind nicht verfügbar! \n\rBitte wenden Sie "
                          "sich an: \n\r\n\r") +
           supportContact();
}

tProgramData::FolderGuard::FolderGuard(tProgramData& data, bool quiet) : m_data(data)
{
    if (data.m_lockDepth > 0) {
        ++data.m_lockDepth;
        m_held = true;
        return;
    }
    data.m_lock = std::make_unique<FolderLock>(data.DataDir);
    if (!data.m_lock->acquire(LockWait)) {
        const QString text = data.m_lock->errorText();
        data.m_lock.reset();
        if (quiet)
            data.m_saveError = text;
        else
            data.report(text + QStringLiteral("\n\rBitte versuchen Sie es gleich noch einmal."),
                        mkHinweis);
        return;
    }
    data.m_lockDepth = 1;
    m_held = true;
}

tProgramData::FolderGuard::~FolderGuard()
{
    if (m_held && --m_data.m_lockDepth == 0)
        m_data.m_lock.reset();
}

} // namespace gf

#pragma once

#include "core/data/ProgramData.h"

namespace gf {

// The session of the detective logged in, as the courses see it: an exercise hands its
// finished record over, the session files it in its list, applies the next start
// length, and stores it before anyone sees the result.
class tSession
{
public:
    // A read-only session (the date rule) files and shows records but stores none.
    tSession(tProgramData& data, bool readOnly) : m_data(data), m_readOnly(readOnly) {}

    using Outcome = tProgramData::SaveOutcome;
    Outcome finish(const tTeleStat& r);
    Outcome finish(const tBmpSndStat& r);
    Outcome finishWord(const tWortKatStat& r);
    Outcome finishPicture(const tBmpKatStat& r);
    // Tries again to store what is not stored yet.
    Outcome store() { return m_readOnly ? Outcome::ReadOnly : m_data.storeSession(); }
    QString failureText() const { return m_data.saveFailureText(); }

private:
    tProgramData& m_data;
    bool m_readOnly;
};

} // namespace gf

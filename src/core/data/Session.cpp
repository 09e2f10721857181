#include "core/data/Session.h"

#include "core/sequence/MemoRules.h"
#include "core/sequence/TelRules.h"

namespace gf {

tSession::Outcome tSession::finish(const tTeleStat& r)
{
    if (m_data.CurrentUser && m_data.CurrentUser->TelLevel.contains(r.Mode))
        m_data.CurrentUser->TelLevel[r.Mode] = tel::nextStartLevel(r.BestSpan);
    m_data.TelStatList.append(r);
    return store();
}

tSession::Outcome tSession::finish(const tBmpSndStat& r)
{
    if (m_data.CurrentUser && m_data.CurrentUser->MemoLevel.contains(r.Mode))
        m_data.CurrentUser->MemoLevel[r.Mode] = memo::nextStartLevel(r.BestSpan);
    m_data.MemoStatList.append(r);
    return store();
}

tSession::Outcome tSession::finishWord(const tWortKatStat& r)
{
    m_data.WortStatList.append(r);
    return store();
}

tSession::Outcome tSession::finishPicture(const tBmpKatStat& r)
{
    m_data.BildStatList.append(r);
    return store();
}

} // namespace gf

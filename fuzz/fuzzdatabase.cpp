#include "fuzzdatabase.h"

#include "commdbpointfacade.h"
#include "database.h"
#include "securitychk.h"

#include <algorithm>
#include <memory>

namespace fuzzsupport {

int ScriptedLink::SendReceive(const std::uint8_t*, std::uint8_t* out, int capacity, bool)
{
    if (status != 0)
        throw CommStatusError(status);
    // As Communications does: an answer longer than the caller's area is not the answer.
    if (static_cast<int>(answer.size()) > capacity)
        throw CommStatusError(commstatus::kUnexpectedResponse);
    std::copy(answer.begin(), answer.end(), out);
    return static_cast<int>(answer.size());
}

ScriptedLink& initDatabase()
{
    static ScriptedLink* link = nullptr;
    if (link)
        return *link;
    initApplication();
    link = new ScriptedLink;
    SecurityChk::Instance()->SetDataDirectory();
    CommDBPointFacade::InstallInstance(std::make_unique<CommDBPointFacade>(*link));
    DataBase::Instance();
    return *link;
}

}  // namespace fuzzsupport

// A stand-in for libPortelle.so that answers from a script, so that the program's binding can be
// tested without a link. It exports the bound entries with Portelle's signatures and a few
// entries of its own through which the test sets the next result and reads what it was given.
#include "portelle_api.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {
int nextStatus = 0;
std::vector<unsigned char> nextReply;
std::vector<unsigned char> lastRequest;
bool lastNotify = false;
int connectResult = 0;
bool lastFlag = false;
std::map<std::string, int> calls;
}  // namespace

KVT_EXPORT void _Initialize()
{
    ++calls["_Initialize"];
}
KVT_EXPORT void _Cleanup()
{
    ++calls["_Cleanup"];
}
KVT_EXPORT void ShowCommSetup()
{
    ++calls["ShowCommSetup"];
}

KVT_EXPORT int SendReceive(const unsigned char* request, int length, unsigned char* reply, int* replyLength,
                           bool notify)
{
    ++calls["SendReceive"];
    lastRequest.assign(request, request + length);
    lastNotify = notify;
    if (nextStatus != 0)
        return nextStatus;
    std::copy(nextReply.begin(), nextReply.end(), reply);
    *replyLength = static_cast<int>(nextReply.size());
    return 0;
}

KVT_EXPORT const char* GetCommErrText(int status)
{
    static std::string text;
    text = status >= 0 && status <= 6 ? "fake text " + std::to_string(status) : "";
    return text.c_str();
}

KVT_EXPORT void SetUserCancel(bool cancel)
{
    ++calls["SetUserCancel"];
    lastFlag = cancel;
}

KVT_EXPORT bool IsOnline()
{
    return false;
}

KVT_EXPORT int CommConnect()
{
    ++calls["CommConnect"];
    return connectResult;
}

KVT_EXPORT void CommDisconnect(bool onlyReset)
{
    ++calls["CommDisconnect"];
    lastFlag = onlyReset;
}

// --- the test's controls ---

KVT_EXPORT void FakePortelleScript(int status, const unsigned char* reply, int length)
{
    nextStatus = status;
    nextReply.assign(reply, reply + length);
}

KVT_EXPORT int FakePortelleLastRequest(unsigned char* out, bool* notify)
{
    std::copy(lastRequest.begin(), lastRequest.end(), out);
    *notify = lastNotify;
    return static_cast<int>(lastRequest.size());
}

KVT_EXPORT void FakePortelleSetConnectResult(int result)
{
    connectResult = result;
}
KVT_EXPORT bool FakePortelleLastFlag()
{
    return lastFlag;
}
KVT_EXPORT int FakePortelleCalls(const char* entry)
{
    return calls[entry];
}

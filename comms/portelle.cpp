#include "portelle_api.h"

#include "comm.h"
#include "floatformat.h"

#include <QApplication>
#include <cstring>
#include <exception>
#include <vector>

QWidget* _Comm = nullptr;
// _frmProxy lives with the proxy dialog it points to (commsetup.cpp).

namespace {

TComm* engine()
{
    return static_cast<TComm*>(_Comm);
}

// _Cleanup may be called from an event handled while an exchange waits; the engine then goes
// away when that exchange has returned, not under its feet.
int g_depth = 0;
std::vector<TComm*> g_retired;

class EntryScope {
public:
    EntryScope() { ++g_depth; }
    ~EntryScope()
    {
        if (--g_depth == 0 && !g_retired.empty()) {
            const std::vector<TComm*> retired = std::move(g_retired);
            g_retired.clear();
            for (TComm* comm : retired)
                delete comm;
        }
    }
    EntryScope(const EntryScope&) = delete;
    EntryScope& operator=(const EntryScope&) = delete;
};

// Runs body, keeping every exception inside the library.
template <typename R, typename Body>
R guarded(R onFailure, Body body)
{
    try {
        EntryScope scope;
        return body();
    } catch (...) {
        return onFailure;
    }
}

template <typename Body>
void guardedVoid(Body body)
{
    try {
        EntryScope scope;
        body();
    } catch (...) {
    }
}

}  // namespace

KVT_EXPORT void _Initialize()
{
    guardedVoid([] {
        // The engine is a form: without the host's widget application there can be none.
        if (!_Comm && qobject_cast<QApplication*>(QCoreApplication::instance()))
            _Comm = new TComm();
    });
}

KVT_EXPORT void _Cleanup()
{
    guardedVoid([] {
        TComm* comm = engine();
        _Comm = nullptr;
        if (!comm)
            return;
        if (g_depth > 1) {
            // Called from inside another entry's wait: stop that wait and retire the engine
            // once it has returned.
            comm->SetUserCancel(true);
            comm->hide();
            g_retired.push_back(comm);
            return;
        }
        delete comm;
    });
}

KVT_EXPORT void ShowCommSetup()
{
    guardedVoid([] {
        if (TComm* comm = engine()) {
            comm->show();
            comm->raise();
        }
    });
}

KVT_EXPORT int SendReceive(const unsigned char* request, int length, unsigned char* reply, int* replyLength,
                           bool notify)
{
    return guarded(int(commstatus::kPortNotOpen), [&] {
        TComm* comm = engine();
        return comm ? comm->SendReceive(request, length, reply, replyLength, notify) : int(commstatus::kPortNotOpen);
    });
}

KVT_EXPORT const char* GetCommErrText(int status)
{
    return commstatus::isLinkStatus(status) ? commstatus::text(status) : "";
}

KVT_EXPORT void SetUserCancel(bool cancel)
{
    guardedVoid([cancel] {
        if (TComm* comm = engine())
            comm->SetUserCancel(cancel);
    });
}

KVT_EXPORT bool IsOnline()
{
    return guarded(false, [] {
        TComm* comm = engine();
        return comm && comm->GetLinkState() == TComm::LinkOnline;
    });
}

KVT_EXPORT int CommConnect()
{
    return guarded(1, [] {
        TComm* comm = engine();
        // A connect from an event handled during an exchange would pull the link from under it.
        if (!comm || comm->isBusy())
            return 1;
        return comm->Connect();
    });
}

KVT_EXPORT void CommDisconnect(bool onlyReset)
{
    guardedVoid([onlyReset] {
        if (TComm* comm = engine())
            comm->Disconnect(onlyReset);
    });
}

KVT_EXPORT void WriteToCommLog(const char* text)
{
    guardedVoid([text] {
        if (TComm* comm = engine())
            comm->WriteToCommLog(QString::fromLatin1(text ? text : ""));
    });
}

KVT_EXPORT void SetGUILogonState(unsigned char state)
{
    guardedVoid([state] {
        if (TComm* comm = engine())
            comm->SetLinkState(state);
    });
}

KVT_EXPORT bool IsUpdateMode()
{
    return false;
}

KVT_EXPORT bool IsFactoryMode()
{
    return false;
}

KVT_EXPORT bool IsValidFlt(const float* value)
{
    return value && floatfmt::isValidFlt(*value);
}

KVT_EXPORT int FormatFlt(float value, char* buffer, int size)
{
    return guarded(0, [&] {
        const std::string text = floatfmt::formatFlt(value);
        if (buffer && size > 0) {
            const std::size_t n = std::min(text.size(), static_cast<std::size_t>(size - 1));
            std::memcpy(buffer, text.data(), n);
            buffer[n] = '\0';
        }
        return static_cast<int>(text.size());
    });
}

#include "communications.h"

#include "librarybinder.h"
#include "portelle_api.h"

#include <dlfcn.h>
#include <QDir>
#include <QFile>
#include <algorithm>
#include <cstring>

namespace {

Communications* gCommunications = nullptr;

const char kLibraryFile[] = "libPortelle.so";

}  // namespace

CommStatusError::CommStatusError(int s) : status(s), what_("Communication status " + std::to_string(s)) {}

Communications* Communications::Instance()
{
    if (!gCommunications)
        gCommunications = new Communications(LibraryBinder::programDir());
    return gCommunications;
}

void Communications::ReleaseInstance()
{
    delete gCommunications;
    gCommunications = nullptr;
}

void Communications::InstallInstance(std::unique_ptr<Communications> communications)
{
    ReleaseInstance();
    gCommunications = communications.release();
}

Communications::Communications(const QString& libraryDir)
{
    const std::vector<const char*> entries(std::begin(kPortelleBoundEntries), std::end(kPortelleBoundEntries));
    LibraryBinder binder;
    if (!binder.load(libraryDir, kLibraryFile, entries)) {
        binder.reportLoadFailure();
        return;
    }
    // The engine owns Qt objects and timers of its own, so the library stays mapped for the life
    // of the process, whatever becomes of the binder that loaded it.
    const QByteArray path = QFile::encodeName(QDir(libraryDir).absoluteFilePath(kLibraryFile));
    if (!dlopen(path.constData(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE)) {
        binder.reportLoadFailure();
        return;
    }
    initialize_ = binder.entry<PortelleInitializeFn>("_Initialize");
    cleanup_ = binder.entry<PortelleCleanupFn>("_Cleanup");
    getCommErrText_ = binder.entry<PortelleGetCommErrTextFn>("GetCommErrText");
    commConnect_ = binder.entry<PortelleCommConnectFn>("CommConnect");
    commDisconnect_ = binder.entry<PortelleCommDisconnectFn>("CommDisconnect");
    sendReceive_ = binder.entry<PortelleSendReceiveFn>("SendReceive");
    showCommSetup_ = binder.entry<PortelleShowCommSetupFn>("ShowCommSetup");
    setUserCancel_ = binder.entry<PortelleSetUserCancelFn>("SetUserCancel");
    isOnline_ = binder.entry<PortelleIsOnlineFn>("IsOnline");
    initialize_();
}

Communications::~Communications()
{
    if (cleanup_)
        cleanup_();
}

int Communications::SendReceive(const std::uint8_t* message, std::uint8_t* answer, int capacity, bool notify)
{
    if (!sendReceive_)
        throw CommStatusError(commstatus::kPortNotOpen);
    const int length = message[0];
    transmit_.fill(0);
    answer_.fill(0);
    std::memcpy(transmit_.data(), message, static_cast<std::size_t>(length));
    int answerLength = 0;
    const int status = sendReceive_(transmit_.data(), length, answer_.data(), &answerLength, notify);
    if (status != commstatus::kSuccess)
        throw CommStatusError(status);
    // Portelle hands back at most one message; anything the caller's area cannot hold is not
    // the answer to this request.
    if (answerLength < 0 || answerLength > kBufferSize || answerLength > capacity)
        throw CommStatusError(commstatus::kUnexpectedResponse);
    std::memcpy(answer, answer_.data(), static_cast<std::size_t>(answerLength));
    return answerLength;
}

QString Communications::GetErrorText(int status) const
{
    if (status < commstatus::kIndexMismatch) {
        // Without the library its own texts stand in, so that the status 5 every exchange then
        // raises still reaches the user with its words.
        const char* text = getCommErrText_ ? getCommErrText_(status) : commstatus::text(status);
        return QString::fromLatin1(text ? text : "");
    }
    if (status == commstatus::kIndexMismatch || status == commstatus::kUnexpectedResponse)
        return QString::fromLatin1(commstatus::text(status));
    return QStringLiteral("unknown error");
}

int Communications::CommConnect()
{
    return commConnect_ ? commConnect_() : 1;
}

void Communications::CommDisconnect(bool onlyReset)
{
    if (commDisconnect_)
        commDisconnect_(onlyReset);
}

void Communications::SetUserCancel(bool cancel)
{
    if (setUserCancel_)
        setUserCancel_(cancel);
}

void Communications::ShowCommSetup()
{
    if (showCommSetup_)
        showCommSetup_();
}

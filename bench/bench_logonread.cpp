// A full logon read (version point, every used point, the three blocks) through the real
// libPortelle.so against the emulated unit over loopback TCP: as fast as the unit answers, and
// with the unit pacing the line at 57600 baud. Prints its figures.
#include "commdbpointfacade.h"
#include "communications.h"
#include "database.h"
#include "librarybinder.h"
#include "securitychk.h"
#include "statemgr.h"
#include "unitemulator.h"
#include "unitmodel.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QSettings>
#include <QTemporaryDir>
#include <cstdio>

namespace {
// Counts the answer bytes on the wire (message plus station, function and CRC).
class CountingHandler : public MessageHandler {
public:
    explicit CountingHandler(long long& answerBytes) : answerBytes_(answerBytes) {}
    std::optional<QByteArray> handleMessage(const QByteArray& message) override
    {
        auto answer = unit_.handleMessage(message);
        if (answer)
            answerBytes_ += answer->size() + 4;
        return answer;
    }

private:
    UnitModel unit_;
    long long& answerBytes_;
};

struct Result {
    double ms;
    long long bytes;
    int frames;
};

Result logonRead(int baud)
{
    long long answerBytes = 0;
    UnitEmulator emulator(std::make_unique<CountingHandler>(answerBytes));
    emulator.setBaudRate(baud);
    if (!emulator.start())
        return {-1, 0, 0};
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, "Desktop515");
    settings.clear();
    settings.setValue("Comm/ConnectType", 3);
    settings.setValue("WinSock/Address", "127.0.0.1");
    settings.setValue("WinSock/Port", QString::number(emulator.tcpPort()));
    settings.sync();
    Communications::InstallInstance(std::make_unique<Communications>(LibraryBinder::programDir()));
    Communications* comms = Communications::Instance();
    comms->SetUserCancel(false);
    if (comms->CommConnect() != 0)
        return {-1, 0, 0};
    DataBase* db = DataBase::Instance();
    QElapsedTimer t;
    t.start();
    db->Connect();
    const double ms = t.nsecsElapsed() / 1e6;
    long long bytes = answerBytes;
    const auto frames = emulator.frames();
    for (const auto& f : frames)
        bytes += f.bytes.size();
    comms->CommDisconnect(false);
    DataBase::ReleaseInstance();
    CommDBPointFacade::ReleaseInstance();
    Communications::ReleaseInstance();
    return {ms, bytes, static_cast<int>(frames.size())};
}
}  // namespace

int main(int argc, char** argv)
{
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", (home.path() + "/config").toUtf8());
    qputenv("XDG_DATA_HOME", (home.path() + "/data").toUtf8());
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    SecurityChk::Instance()->SetDataDirectory();

    const Result fast = logonRead(0);
    std::printf("logon read over loopback TCP: %.1f ms for %d messages (goal < 500 ms)\n", fast.ms, fast.frames);
    const Result paced = logonRead(57600);
    const double wireMs = paced.bytes * 10.0 * 1000.0 / 57600.0;
    std::printf(
        "logon read paced at 57600 baud: %.1f ms; wire time of the %lld bytes exchanged %.1f ms; "
        "overhead %.1f%% (goal within 10%%)\n",
        paced.ms, paced.bytes, wireMs, wireMs > 0 ? (paced.ms - wireMs) * 100.0 / wireMs : 0.0);
    StateMgr::ReleaseInstance();
    SecurityChk::ReleaseInstance();
    return 0;
}

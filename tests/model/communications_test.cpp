#include "communications.h"
#include "commdbpointfacade.h"
#include "dialogservice.h"
#include "testenv.h"

#include <gtest/gtest.h>
#include <QByteArray>
#include <QDir>
#include <QLibrary>
#include <QTemporaryDir>

namespace {

// The scripted stand-in library, built as libPortelle.so in a folder of its own.
class FakePortelle {
public:
    FakePortelle() : lib_(QDir(FAKE_PORTELLE_DIR).absoluteFilePath("libPortelle.so"))
    {
        if (!lib_.load())
            ADD_FAILURE() << lib_.errorString().toStdString();
        script_ = reinterpret_cast<void (*)(int, const unsigned char*, int)>(lib_.resolve("FakePortelleScript"));
        lastRequest_ = reinterpret_cast<int (*)(unsigned char*, bool*)>(lib_.resolve("FakePortelleLastRequest"));
        setConnect_ = reinterpret_cast<void (*)(int)>(lib_.resolve("FakePortelleSetConnectResult"));
        lastFlag_ = reinterpret_cast<bool (*)()>(lib_.resolve("FakePortelleLastFlag"));
        calls_ = reinterpret_cast<int (*)(const char*)>(lib_.resolve("FakePortelleCalls"));
    }

    void script(int status, const QByteArray& reply = {})
    {
        script_(status, reinterpret_cast<const unsigned char*>(reply.constData()), static_cast<int>(reply.size()));
    }
    QByteArray lastRequest(bool* notify = nullptr)
    {
        unsigned char buf[1024];
        bool n = false;
        const int len = lastRequest_(buf, &n);
        if (notify)
            *notify = n;
        return QByteArray(reinterpret_cast<const char*>(buf), len);
    }
    void setConnectResult(int r) { setConnect_(r); }
    bool lastFlag() { return lastFlag_(); }
    int calls(const char* entry) { return calls_(entry); }

private:
    QLibrary lib_;
    void (*script_)(int, const unsigned char*, int) = nullptr;
    int (*lastRequest_)(unsigned char*, bool*) = nullptr;
    void (*setConnect_)(int) = nullptr;
    bool (*lastFlag_)() = nullptr;
    int (*calls_)(const char*) = nullptr;
};

class CommunicationsTest : public ::testing::Test {
protected:
    void SetUp() override { testenv::dialogs().clear(); }

    FakePortelle fake;
};

int statusOf(Communications& comms, const QByteArray& msg, std::uint8_t* answer, int capacity)
{
    try {
        comms.SendReceive(reinterpret_cast<const std::uint8_t*>(msg.constData()), answer, capacity, true);
    } catch (const CommStatusError& e) {
        return e.status;
    }
    return -1;
}

}  // namespace

TEST_F(CommunicationsTest, BindsTheLibraryAndInitializesAndCleansUpOnce)
{
    const int inits = fake.calls("_Initialize");
    const int cleanups = fake.calls("_Cleanup");
    {
        Communications comms(FAKE_PORTELLE_DIR);
        EXPECT_TRUE(comms.IsLoaded());
        EXPECT_EQ(fake.calls("_Initialize"), inits + 1);
        EXPECT_EQ(fake.calls("_Cleanup"), cleanups);
    }
    EXPECT_EQ(fake.calls("_Cleanup"), cleanups + 1);
    EXPECT_TRUE(testenv::dialogs().shown().empty());
}

TEST_F(CommunicationsTest, ExchangeSendsTheMessageAndCopiesTheAnswerBack)
{
    Communications comms(FAKE_PORTELLE_DIR);
    const QByteArray request = QByteArray::fromHex("04013412");
    fake.script(0, QByteArray::fromHex("0602341278 56"));
    std::uint8_t answer[230];
    std::memset(answer, 0xAA, sizeof answer);
    const int length = comms.SendReceive(reinterpret_cast<const std::uint8_t*>(request.constData()), answer, 230, true);
    bool notify = false;
    EXPECT_EQ(fake.lastRequest(&notify), request);  // exactly L bytes, L taken from the message
    EXPECT_TRUE(notify);
    ASSERT_EQ(length, 6);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(answer), 6), QByteArray::fromHex("060234127856"));
    EXPECT_EQ(answer[6], 0xAA);

    comms.SendReceive(reinterpret_cast<const std::uint8_t*>(request.constData()), answer, 230, false);
    fake.lastRequest(&notify);
    EXPECT_FALSE(notify);
}

TEST_F(CommunicationsTest, ANonZeroStatusIsRaisedAndNothingIsCopied)
{
    Communications comms(FAKE_PORTELLE_DIR);
    std::uint8_t answer[230];
    for (int status : {2, 3, 4, 5, 6}) {
        std::memset(answer, 0xAA, sizeof answer);
        fake.script(status, QByteArray::fromHex("0203"));
        EXPECT_EQ(statusOf(comms, QByteArray::fromHex("020e"), answer, 230), status);
        EXPECT_EQ(answer[0], 0xAA);
    }
}

TEST_F(CommunicationsTest, AnEmptyAnswerCopiesNothingAndRaisesNothing)
{
    Communications comms(FAKE_PORTELLE_DIR);
    std::uint8_t answer[4] = {0xAA, 0xAA, 0xAA, 0xAA};
    fake.script(0, {});
    EXPECT_EQ(comms.SendReceive(reinterpret_cast<const std::uint8_t*>("\x02\x0e"), answer, 4, true), 0);
    EXPECT_EQ(answer[0], 0xAA);
}

TEST_F(CommunicationsTest, AnAnswerLongerThanTheDestinationRaises21AndCopiesNothing)
{
    Communications comms(FAKE_PORTELLE_DIR);
    std::uint8_t answer[240];
    std::memset(answer, 0xAA, sizeof answer);
    fake.script(0, QByteArray(231, '\x01'));
    EXPECT_EQ(statusOf(comms, QByteArray::fromHex("023c"), answer, 230), commstatus::kUnexpectedResponse);
    EXPECT_EQ(answer[0], 0xAA);
    EXPECT_EQ(answer[230], 0xAA);
}

TEST_F(CommunicationsTest, ErrorTextsByStatus)
{
    Communications comms(FAKE_PORTELLE_DIR);
    EXPECT_EQ(comms.GetErrorText(4), "fake text 4");  // Portelle's own below 20
    EXPECT_EQ(comms.GetErrorText(7), "");
    EXPECT_EQ(comms.GetErrorText(-1), "");
    EXPECT_EQ(comms.GetErrorText(19), "");
    EXPECT_EQ(comms.GetErrorText(20), "Entry index of response doesn't match request.");
    EXPECT_EQ(comms.GetErrorText(21), "Unexpected response type received.");
    EXPECT_EQ(comms.GetErrorText(22), "unknown error");
}

TEST_F(CommunicationsTest, ForwardsConnectDisconnectCancelAndSetup)
{
    Communications comms(FAKE_PORTELLE_DIR);
    fake.setConnectResult(1);
    EXPECT_EQ(comms.CommConnect(), 1);
    fake.setConnectResult(0);
    EXPECT_EQ(comms.CommConnect(), 0);
    comms.CommDisconnect(true);
    EXPECT_TRUE(fake.lastFlag());
    comms.SetUserCancel(false);
    EXPECT_FALSE(fake.lastFlag());
    const int setups = fake.calls("ShowCommSetup");
    comms.ShowCommSetup();
    EXPECT_EQ(fake.calls("ShowCommSetup"), setups + 1);
}

TEST_F(CommunicationsTest, WithoutTheLibraryEveryCallFailsCleanly)
{
    QTemporaryDir empty;
    Communications comms(empty.path());
    EXPECT_FALSE(comms.IsLoaded());
    const auto& shown = testenv::dialogs().shown();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_FALSE(shown[0].text.isEmpty());
    EXPECT_EQ(shown[1].text, "Unable to load libPortelle.so.");

    std::uint8_t answer[8] = {};
    EXPECT_EQ(statusOf(comms, QByteArray::fromHex("020e"), answer, 8), commstatus::kPortNotOpen);
    EXPECT_EQ(comms.CommConnect(), 1);
    comms.CommDisconnect(false);
    comms.SetUserCancel(true);
    comms.ShowCommSetup();
    EXPECT_EQ(comms.GetErrorText(5), "Com port not open.");
    EXPECT_EQ(comms.GetErrorText(21), "Unexpected response type received.");
}

TEST_F(CommunicationsTest, TheFacadeSendsThroughTheProcessWideBinding)
{
    Communications::InstallInstance(std::make_unique<Communications>(FAKE_PORTELLE_DIR));
    CommDBPointFacade::ReleaseInstance();
    fake.script(0, QByteArray::fromHex("020f"));
    CommDBPointFacade::Instance()->Reboot();
    EXPECT_EQ(fake.lastRequest(), QByteArray::fromHex("020e"));
    CommDBPointFacade::ReleaseInstance();
    Communications::ReleaseInstance();
}

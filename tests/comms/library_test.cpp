// libPortelle.so as the program sees it: loaded by path and bound entry by entry.
#include "appcontext.h"
#include "commsettings.h"
#include "commtestsupport.h"
#include "floatformat.h"
#include "portelle_api.h"
#include "testenv.h"
#include "unitemulator.h"

#include <gtest/gtest.h>
#include <QLibrary>

using commtest::Message;

namespace {

struct Portelle {
    QLibrary library{QStringLiteral(KVT_BIN_DIR "/libPortelle.so")};
    PortelleInitializeFn initialize = nullptr;
    PortelleCleanupFn cleanup = nullptr;
    PortelleShowCommSetupFn showCommSetup = nullptr;
    PortelleSendReceiveFn sendReceive = nullptr;
    PortelleGetCommErrTextFn getCommErrText = nullptr;
    PortelleSetUserCancelFn setUserCancel = nullptr;
    PortelleIsOnlineFn isOnline = nullptr;
    PortelleCommConnectFn commConnect = nullptr;
    PortelleCommDisconnectFn commDisconnect = nullptr;
    PortelleWriteToCommLogFn writeToCommLog = nullptr;
    PortelleSetGUILogonStateFn setGUILogonState = nullptr;
    PortelleIsUpdateModeFn isUpdateMode = nullptr;
    PortelleIsFactoryModeFn isFactoryMode = nullptr;
    PortelleIsValidFltFn isValidFlt = nullptr;
    PortelleFormatFltFn formatFlt = nullptr;
    QWidget** comm = nullptr;

    bool load()
    {
        if (!library.load())
            return false;
        auto bind = [this](auto& fn, const char* name) {
            fn = reinterpret_cast<std::remove_reference_t<decltype(fn)>>(library.resolve(name));
            return fn != nullptr;
        };
        bool ok =
            bind(initialize, "_Initialize") && bind(cleanup, "_Cleanup") && bind(showCommSetup, "ShowCommSetup") &&
            bind(sendReceive, "SendReceive") && bind(getCommErrText, "GetCommErrText") &&
            bind(setUserCancel, "SetUserCancel") && bind(isOnline, "IsOnline") && bind(commConnect, "CommConnect") &&
            bind(commDisconnect, "CommDisconnect") && bind(writeToCommLog, "WriteToCommLog") &&
            bind(setGUILogonState, "SetGUILogonState") && bind(isUpdateMode, "IsUpdateMode") &&
            bind(isFactoryMode, "IsFactoryMode") && bind(isValidFlt, "IsValidFlt") && bind(formatFlt, "FormatFlt");
        comm = reinterpret_cast<QWidget**>(library.resolve("_Comm"));
        return ok && comm;
    }
};

class LibraryTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        lib = new Portelle;
        ASSERT_TRUE(lib->load()) << lib->library.errorString().toStdString();
    }
    // The library stays loaded: Qt objects it made may still be queued for deletion.
    static void TearDownTestSuite() {}

    void SetUp() override
    {
        commtest::removeStore(testenv::configHome());
        appcontext::setMainForm(&form_);
    }
    void TearDown() override
    {
        lib->cleanup();
        appcontext::setMainForm(nullptr);
    }

    int exchange(const QByteArray& message, QByteArray* reply = nullptr)
    {
        unsigned char answer[kPortelleMaxReply] = {};
        int length = -1;
        const int status = lib->sendReceive(reinterpret_cast<const unsigned char*>(message.constData()),
                                            int(message.size()), answer, &length, true);
        if (reply && status == 0)
            *reply = QByteArray(reinterpret_cast<const char*>(answer), length);
        return status;
    }

    static Portelle* lib;
    commtest::MainFormSpy form_;
};
Portelle* LibraryTest::lib = nullptr;

TEST_F(LibraryTest, EntriesAreSafeWithoutAnEngine)
{
    for (int round = 0; round < 2; ++round) {
        // Before the first _Initialize, then after _Cleanup.
        EXPECT_EQ(*lib->comm, nullptr);
        EXPECT_EQ(exchange(commtest::bytes({0x02, 0x0E})), 5);
        EXPECT_EQ(lib->commConnect(), 1);
        EXPECT_FALSE(lib->isOnline());
        lib->commDisconnect(false);
        lib->setUserCancel(true);
        lib->showCommSetup();
        lib->writeToCommLog("text");
        lib->writeToCommLog(nullptr);
        lib->setGUILogonState(4);
        EXPECT_FALSE(lib->isOnline());
        EXPECT_TRUE(form_.received.empty());
        lib->initialize();
        lib->cleanup();
        lib->cleanup();
    }
}

TEST_F(LibraryTest, StatusTexts)
{
    const char* expected[] = {"Success.",
                              "Currently waiting for response to communication.",
                              "Invalid response was received.",
                              "The unit has reported an error with the request that was sent.",
                              "No Response from unit.",
                              "Com port not open.",
                              "Cancelled by user."};
    for (int status = 0; status <= 6; ++status)
        EXPECT_STREQ(lib->getCommErrText(status), expected[status]) << status;
    EXPECT_STREQ(lib->getCommErrText(7), "");
    EXPECT_STREQ(lib->getCommErrText(-1), "");
}

TEST_F(LibraryTest, InitializeKeepsTheFirstEngineAndLinkStateFollows)
{
    lib->initialize();
    QWidget* first = *lib->comm;
    ASSERT_NE(first, nullptr);
    lib->initialize();
    EXPECT_EQ(*lib->comm, first);
    EXPECT_EQ(first->objectName(), QStringLiteral("Comm"));

    lib->setGUILogonState(4);
    EXPECT_TRUE(lib->isOnline());
    lib->commDisconnect(true);
    EXPECT_FALSE(lib->isOnline());
    EXPECT_EQ(form_.received, (std::vector<Message>{{winmsg::WM_COMMSTATE, 0, 0}}));
    EXPECT_FALSE(lib->isUpdateMode());
    EXPECT_FALSE(lib->isFactoryMode());

    lib->showCommSetup();
    EXPECT_TRUE(first->isVisible());
    lib->cleanup();
    EXPECT_EQ(*lib->comm, nullptr);
}

TEST_F(LibraryTest, FloatEntries)
{
    const float values[] = {0.0f, 1.5f, -12345.678f, 1e-7f, 3.4e38f};
    for (float v : values) {
        EXPECT_EQ(lib->isValidFlt(&v), floatfmt::isValidFlt(v)) << v;
        char text[64];
        const std::string expected = floatfmt::formatFlt(v);
        EXPECT_EQ(lib->formatFlt(v, text, sizeof text), int(expected.size()));
        EXPECT_EQ(std::string(text), expected);
    }
    EXPECT_FALSE(lib->isValidFlt(nullptr));
    // A short buffer gets a cut, terminated text and the whole length as the result.
    char small[4];
    const std::string whole = floatfmt::formatFlt(-12345.678f);
    EXPECT_EQ(lib->formatFlt(-12345.678f, small, sizeof small), int(whole.size()));
    EXPECT_EQ(std::string(small), whole.substr(0, 3));
    EXPECT_EQ(lib->formatFlt(1.0f, nullptr, 0), int(floatfmt::formatFlt(1.0f).size()));
}

TEST_F(LibraryTest, ExchangeOverTcpWithMessagesToTheMainForm)
{
    UnitEmulator unit(std::make_unique<commtest::EchoTypeHandler>(), 1);
    ASSERT_TRUE(unit.start());
    commtest::loopbackSettings(unit.tcpPort()).store();
    lib->initialize();
    lib->setUserCancel(false);
    ASSERT_EQ(lib->commConnect(), 0);
    EXPECT_TRUE(lib->isOnline());
    QByteArray reply;
    EXPECT_EQ(exchange(commtest::bytes({0x03, 0x01, 0x05}), &reply), 0);
    EXPECT_EQ(reply, commtest::bytes({0x02, 0x02}));
    EXPECT_EQ(form_.received.front(), (Message{winmsg::WM_COMMSTATE, 1, 0}));
    EXPECT_EQ(form_.count(winmsg::WM_COMMSTATE, 2, 0), 1);
    EXPECT_EQ(form_.count(winmsg::WM_COMMPROGRESS, 1, 1), 1);
    lib->commDisconnect(false);
    EXPECT_FALSE(lib->isOnline());
    lib->cleanup();
}

TEST_F(LibraryTest, CleanupDuringAnExchangeEndsItSafely)
{
    UnitEmulator unit(std::make_unique<commtest::EchoTypeHandler>(), 1);
    ASSERT_TRUE(unit.start());
    unit.silence(5);
    commtest::loopbackSettings(unit.tcpPort()).store();
    lib->initialize();
    // The program tears the engine down from a handler that runs inside the exchange's wait.
    form_.onMessage = [](const Message& m) {
        if (m == Message{winmsg::WM_COMMSTATE, 2, 0})
            lib->cleanup();
    };
    EXPECT_EQ(exchange(commtest::bytes({0x02, 0x0E})), 6);
    form_.onMessage = nullptr;
    EXPECT_EQ(*lib->comm, nullptr);
    EXPECT_EQ(exchange(commtest::bytes({0x02, 0x0E})), 5);
}

}  // namespace

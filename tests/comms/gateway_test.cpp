// Gateway detection: the plain-text commands against the emulated gateway, and the replies.
#include "appcontext.h"
#include "comm.h"
#include "commtestsupport.h"
#include "testenv.h"
#include "unitemulator.h"

#include <gtest/gtest.h>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

namespace {

class GatewayTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        commtest::removeStore(testenv::configHome());
        appcontext::setMainForm(&spy_);
    }

    void TearDown() override
    {
        comm_.reset();
        appcontext::setMainForm(nullptr);
        unit_.reset();
    }

    void start(const UnitEmulator::Gateway& gateway, std::uint8_t station)
    {
        unit_ = std::make_unique<UnitEmulator>(std::make_unique<commtest::EchoTypeHandler>(), station);
        unit_->setGateway(gateway);
        ASSERT_TRUE(unit_->start());
        commtest::loopbackSettings(unit_->tcpPort()).store();
        comm_ = std::make_unique<TComm>();
    }

    template <typename T>
    T* control(const char* name) const
    {
        return comm_->findChild<T*>(QString::fromLatin1(name));
    }
    QComboBox* list() const { return control<QComboBox>("cbCCIConnInfo"); }
    QLineEdit* address() const { return control<QLineEdit>("ledModbusNodeAddress"); }

    QStringList items() const
    {
        QStringList out;
        for (int i = 0; i < list()->count(); ++i)
            out << list()->itemText(i);
        return out;
    }

    commtest::MainFormSpy spy_;
    std::unique_ptr<UnitEmulator> unit_;
    std::unique_ptr<TComm> comm_;
};

TEST_F(GatewayTest, DetectListSelectAndTalkThroughTheChosenConnection)
{
    UnitEmulator::Gateway gateway;
    gateway.connections = {{"line1", 5}, {"line2", 7}};
    // The answers come in small pieces, each its own read.
    gateway.chunkSize = 3;
    gateway.gapMs = 5;
    start(gateway, 7);
    ASSERT_TRUE(control<QPushButton>("btnCCIDetect")->isEnabled());
    comm_->btnCCIDetectClick();
    EXPECT_TRUE(list()->isEnabled());
    EXPECT_FALSE(control<QGroupBox>("gbWinsock")->isEnabled());
    EXPECT_FALSE(control<QComboBox>("cbConnectType")->isEnabled());
    EXPECT_EQ(spy_.count(winmsg::WM_COMMSTATE, 1, 0), 1);
    ASSERT_TRUE(commtest::pumpUntil([&] { return list()->count() >= 2; }, 5000));
    // Quiet for a while longer: nothing more is added.
    commtest::pumpUntil([] { return false; }, 200);
    EXPECT_EQ(items(), (QStringList{QStringLiteral("line1"), QStringLiteral("line2")}));
    EXPECT_EQ(comm_->gatewayConnections(), items());

    list()->setCurrentIndex(1);
    comm_->cbCCIConnInfoSelect(1);
    ASSERT_TRUE(commtest::pumpUntil([&] { return address()->text() == QStringLiteral("7"); }, 5000));
    EXPECT_EQ(unit_->gatewayTexts(), (std::vector<QByteArray>{"CCICommand,CRC", "CCISline2"}));
    EXPECT_EQ(unit_->connectionsAccepted(), 2);
    EXPECT_TRUE(control<QGroupBox>("gbWinsock")->isEnabled());
    EXPECT_FALSE(control<QPushButton>("btnCCIDetect")->isEnabled());
    EXPECT_FALSE(control<QComboBox>("cbConnectType")->isEnabled());
    EXPECT_EQ(comm_->GetLinkState(), TComm::LinkDown);

    // The port stays open: the next exchange goes to the chosen connection.
    control<QCheckBox>("ckAllStations")->setChecked(false);
    const std::uint8_t request[] = {0x02, 0x0E};
    EXPECT_EQ(comm_->SendReceive(request, 2, nullptr, nullptr, false), 0);
    EXPECT_EQ(unit_->connectionsAccepted(), 2);
}

TEST_F(GatewayTest, ASilentGatewayLeavesTheListEmpty)
{
    start({}, 1);
    unit_->setGateway(std::nullopt);
    comm_->btnCCIDetectClick();
    commtest::pumpUntil([] { return false; }, 300);
    EXPECT_EQ(list()->count(), 0);
    EXPECT_EQ(unit_->frameCount(), 0);
}

TEST_F(GatewayTest, Replies)
{
    start({}, 1);
    comm_->HandleCciReply("Cgw1,gw2,");
    EXPECT_EQ(items(), (QStringList{QStringLiteral("gw1"), QStringLiteral("gw2")}));
    // A later list replaces the one shown; text after the last comma is dropped.
    comm_->HandleCciReply("Cgw3,gw4");
    EXPECT_EQ(items(), QStringList{QStringLiteral("gw3")});
    comm_->HandleCciReply("C,");
    EXPECT_EQ(items(), QStringList{QString()});

    struct Case {
        const char* reply;
        const char* address;
    };
    const Case cases[] = {
        {"A5", "5"},   {"A255", "255"}, {"A0", "255"},  {"A256", "255"}, {"A-1", "255"},
        {"Ax", "255"}, {"A", "255"},    {"X12", "255"}, {"A1", "1"},
    };
    for (const Case& c : cases) {
        comm_->HandleCciReply(c.reply);
        EXPECT_EQ(address()->text(), QString::fromLatin1(c.address)) << c.reply;
    }
}

}  // namespace

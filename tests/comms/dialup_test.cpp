// Dial-up networking over a stand-in nmcli (and connection editor) on PATH: the link's dial-up
// branch against the emulated unit, and the phonebook controls' handlers.
#include "dialup.h"
#include "appcontext.h"
#include "comm.h"
#include "commtestsupport.h"
#include "phonebook.h"
#include "testenv.h"
#include "unitemulator.h"

#include <gtest/gtest.h>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

using commtest::bytes;
using commtest::Message;

namespace {

// The stand-ins keep their state in files beside them: "connections" (terse NAME:TYPE lines),
// and optionally "up_exit", "up_err", "up_delay", "editor_exit", "editor_adds"; every call is
// appended to "calls".
const char* const kNmcli = R"SH(#!/bin/sh
d=$(dirname "$0")
printf '%s\n' "$*" >> "$d/calls"
[ "$1" = "--wait" ] && shift 2
case "$*" in
"-t -f NAME,TYPE connection show")
    cat "$d/connections"; exit 0;;
"connection up id "*)
    [ -f "$d/up_delay" ] && sleep "$(cat "$d/up_delay")"
    [ -f "$d/up_err" ] && cat "$d/up_err" >&2
    exit "$(cat "$d/up_exit" 2>/dev/null || echo 0)";;
"connection down id "*)
    exit 0;;
"connection delete id "*)
    name=${*#connection delete id }
    grep -v "^$name:" "$d/connections" > "$d/connections.new"; mv "$d/connections.new" "$d/connections"; exit 0;;
"-g connection.uuid connection show id "*)
    echo 5c6d-uuid; exit 0;;
"-g GENERAL.STATE connection show id "*)
    cat "$d/state" 2>/dev/null; exit 0;;
esac
exit 2
)SH";

const char* const kEditor = R"SH(#!/bin/sh
d=$(dirname "$0")
printf 'editor %s\n' "$*" >> "$d/calls"
[ -f "$d/editor_adds" ] && cat "$d/editor_adds" >> "$d/connections"
exit "$(cat "$d/editor_exit" 2>/dev/null || echo 0)"
)SH";

class StandIns {
public:
    StandIns()
    {
        write(QStringLiteral("nmcli"), kNmcli, true);
        write(QStringLiteral("nm-connection-editor"), kEditor, true);
        write(QStringLiteral("connections"), "lo:loopback\nPlant modem:gsm\nBackup line:pppoe\n", false);
        savedPath_ = qgetenv("PATH");
        qputenv("PATH", dir_.path().toLocal8Bit() + ':' + savedPath_);
    }
    ~StandIns() { qputenv("PATH", savedPath_); }

    void write(const QString& name, const QByteArray& text, bool executable = false)
    {
        QFile file(dir_.filePath(name));
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(text);
        file.close();
        if (executable)
            file.setPermissions(file.permissions() | QFileDevice::ExeOwner | QFileDevice::ExeUser);
    }
    QStringList calls() const
    {
        QFile file(dir_.filePath(QStringLiteral("calls")));
        file.open(QIODevice::ReadOnly);
        return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }
    QString path(const QString& name) const { return dir_.filePath(name); }

private:
    QTemporaryDir dir_;
    QByteArray savedPath_;
};

class DialUpTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        commtest::removeStore(testenv::configHome());
        testenv::dialogs().clear();
        unit_ = std::make_unique<UnitEmulator>(std::make_unique<commtest::EchoTypeHandler>(), 7);
        ASSERT_TRUE(unit_->start());
        appcontext::setMainForm(&form_);
        CommSettings s;
        s.connectType = TComm::DialUp;
        s.backoffTimer = QStringLiteral("20");
        s.store();
        comm_ = std::make_unique<TComm>();
        // The unit's address behind the dial-up connection.
        comm_->findChild<QComboBox*>(QStringLiteral("ethAddr"))->setEditText(QStringLiteral("127.0.0.1"));
        comm_->findChild<QLineEdit*>(QStringLiteral("ledPort"))->setText(QString::number(unit_->tcpPort()));
        form_.received.clear();
    }

    void TearDown() override
    {
        comm_.reset();
        appcontext::setMainForm(nullptr);
        unit_.reset();
    }

    int exchange(const QByteArray& message)
    {
        std::uint8_t answer[255] = {};
        int length = -1;
        return comm_->SendReceive(reinterpret_cast<const std::uint8_t*>(message.constData()), int(message.size()),
                                  answer, &length, false);
    }

    StandIns nm_;
    commtest::MainFormSpy form_;
    std::unique_ptr<UnitEmulator> unit_;
    std::unique_ptr<TComm> comm_;
};

TEST_F(DialUpTest, DialsTheFirstEntryAndHangsUp)
{
    EXPECT_EQ(comm_->rasDialer().entryName(), QStringLiteral("Plant modem"));
    ASSERT_EQ(comm_->Connect(), 0);
    EXPECT_EQ(comm_->dialWaitState(), 0);
    EXPECT_EQ(comm_->GetLinkState(), TComm::LinkOnline);
    EXPECT_TRUE(nm_.calls().contains(QStringLiteral("--wait 60 connection up id Plant modem")));
    EXPECT_EQ(exchange(bytes({0x02, 0x0E})), 0);
    EXPECT_TRUE(testenv::dialogs().shown().empty());

    // The TCP link drops while the connection stays up: the exchange reconnects without dialling.
    nm_.write(QStringLiteral("state"), "activated\n");
    comm_->commPort().close();
    EXPECT_EQ(exchange(bytes({0x02, 0x0E})), 0);
    EXPECT_EQ(nm_.calls().filter(QStringLiteral("connection up")).size(), 1);
    // Down meanwhile: dialled again.
    QFile::remove(nm_.path(QStringLiteral("state")));
    comm_->commPort().close();
    EXPECT_EQ(exchange(bytes({0x02, 0x0E})), 0);
    EXPECT_EQ(nm_.calls().filter(QStringLiteral("connection up")).size(), 2);

    comm_->Disconnect(false);
    EXPECT_EQ(nm_.calls().last(), QStringLiteral("connection down id Plant modem"));
    EXPECT_FALSE(comm_->rasDialer().isConnected());
    EXPECT_EQ(comm_->GetLinkState(), TComm::LinkDown);
}

TEST_F(DialUpTest, FailuresReportNotConnected)
{
    struct Case {
        const char* name;
        std::function<void()> arrange;
        QString text;  // the error box, empty for none
        // NetworkManager goes on with a connection nmcli stopped waiting for.
        bool takenDown;
    };
    const std::vector<Case> cases = {
        {"activation failed",
         [&] {
             nm_.write(QStringLiteral("up_exit"), "4");
             nm_.write(QStringLiteral("up_err"), "Error: Connection activation failed: no modem.\n");
         },
         QStringLiteral("The connection could not be brought up. (Error: Connection activation failed: no modem.)"),
         false},
        {"timed out",
         [&] {
             nm_.write(QStringLiteral("up_exit"), "3");
             nm_.write(QStringLiteral("up_err"), "Error: Timeout expired (60 seconds)\n");
         },
         QStringLiteral("The connection did not come up in time. (Error: Timeout expired (60 seconds))"), true},
        // The dial cannot even start: a failure at once, not a link that is not there.
        {"no entry", [&] { comm_->rasDialer().setEntryName(QString()); },
         QStringLiteral("No phonebook entry is chosen."), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(nm_.path(QStringLiteral("up_err")));
        testenv::dialogs().clear();
        form_.received.clear();
        c.arrange();
        const qsizetype downsBefore = nm_.calls().filter(QStringLiteral("connection down")).size();
        EXPECT_EQ(comm_->Connect(), 1);
        EXPECT_EQ(nm_.calls().filter(QStringLiteral("connection down")).size() - downsBefore, c.takenDown ? 1 : 0);
        EXPECT_EQ(comm_->GetLinkState(), TComm::LinkDown);
        EXPECT_EQ(form_.received, (std::vector<Message>{{winmsg::WM_COMMSTATE, 0, 0}}));
        ASSERT_EQ(testenv::dialogs().shown().size(), 1u);
        EXPECT_EQ(testenv::dialogs().shown()[0].caption, QStringLiteral("Error"));
        EXPECT_EQ(testenv::dialogs().shown()[0].text, c.text);
    }
    EXPECT_EQ(unit_->connectionsAccepted(), 0);
}

TEST_F(DialUpTest, CancelledDialEndsWithoutAMessage)
{
    nm_.write(QStringLiteral("up_delay"), "20");
    QTimer::singleShot(300, [this] { comm_->SetUserCancel(true); });
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(comm_->Connect(), 1);
    EXPECT_LT(clock.elapsed(), 8000);
    // The hang-up ends the dial with "the port was disconnected", which shows nothing.
    EXPECT_EQ(comm_->dialWaitState(), 3);
    EXPECT_TRUE(testenv::dialogs().shown().empty());
    EXPECT_EQ(nm_.calls().last(), QStringLiteral("connection down id Plant modem"));
}

// The phonebook group's handlers on controls of their own.
class PhonebookTest : public ::testing::Test {
protected:
    PhonebookTest() : handlers_(dialer_)
    {
        testenv::dialogs().clear();
        path_ = new QLineEdit(QString::fromLatin1(DialUpDialer::kDefaultPhonebook), &form_);
        path_->setObjectName(QStringLiteral("PhonebookEdit"));
        entries_ = new QComboBox(&form_);
        entries_->setObjectName(QStringLiteral("EntrySelect"));
        for (const char* name : {"PhonebookBtn", "btnPBAddEntry", "btnPBEditEntry", "btnPBDeleteEntry"}) {
            auto* b = new QPushButton(&form_);
            b->setObjectName(QString::fromLatin1(name));
        }
        handlers_.attach(&form_);
    }

    QPushButton* button(const char* name) { return form_.findChild<QPushButton*>(QString::fromLatin1(name)); }
    QStringList items() const
    {
        QStringList out;
        for (int i = 0; i < entries_->count(); ++i)
            out << entries_->itemText(i);
        return out;
    }

    StandIns nm_;
    DialUpDialer dialer_;
    QWidget form_;
    QLineEdit* path_ = nullptr;
    QComboBox* entries_ = nullptr;
    PhonebookHandlers handlers_;
};

TEST_F(PhonebookTest, EntriesAreTheConnectionsAndAddSelectsTheFirst)
{
    handlers_.FillPhonebookEntries();
    EXPECT_EQ(items(), (QStringList{QStringLiteral("Plant modem"), QStringLiteral("Backup line")}));
    EXPECT_EQ(entries_->currentIndex(), 0);
    EXPECT_EQ(dialer_.entryName(), QStringLiteral("Plant modem"));

    entries_->setCurrentIndex(1);
    emit entries_->activated(1);
    EXPECT_EQ(dialer_.entryName(), QStringLiteral("Backup line"));

    nm_.write(QStringLiteral("editor_adds"), "Another:gsm\n");
    button("btnPBAddEntry")->click();
    EXPECT_TRUE(nm_.calls().contains(QStringLiteral("editor --create")));
    EXPECT_EQ(items().size(), 3);
    EXPECT_EQ(entries_->currentText(), QStringLiteral("Plant modem"));
    EXPECT_EQ(dialer_.entryName(), QStringLiteral("Plant modem"));
    EXPECT_TRUE(testenv::dialogs().shown().empty());

    button("btnPBEditEntry")->click();
    EXPECT_EQ(nm_.calls().last(), QStringLiteral("editor --edit 5c6d-uuid"));
}

TEST_F(PhonebookTest, FailedEntryDialogShowsTheErrorAndKeepsTheList)
{
    handlers_.FillPhonebookEntries();
    nm_.write(QStringLiteral("editor_exit"), "1");
    nm_.write(QStringLiteral("editor_adds"), "Another:gsm\n");
    button("btnPBAddEntry")->click();
    ASSERT_EQ(testenv::dialogs().shown().size(), 1u);
    EXPECT_EQ(testenv::dialogs().shown()[0].caption, QStringLiteral("Error"));
    EXPECT_EQ(testenv::dialogs().shown()[0].text, QStringLiteral("The entry dialog ended without a change."));
    EXPECT_EQ(items().size(), 2);
}

TEST_F(PhonebookTest, DeletingTheLastEntryKeepsTheEntryName)
{
    nm_.write(QStringLiteral("connections"), "Only one:gsm\n");
    handlers_.FillPhonebookEntries();
    button("btnPBDeleteEntry")->click();
    EXPECT_TRUE(nm_.calls().contains(QStringLiteral("connection delete id Only one")));
    EXPECT_TRUE(items().isEmpty());
    EXPECT_EQ(dialer_.entryName(), QStringLiteral("Only one"));
}

TEST_F(PhonebookTest, PhonebookFileAndCancelledChoiceKeepsIt)
{
    nm_.write(QStringLiteral("site.pbk"), "[North well]\nPhoneNumber=123\n\n[South well]\nPhoneNumber=456\n");
    testenv::dialogs().answerText(nm_.path(QStringLiteral("site.pbk")));
    button("PhonebookBtn")->click();
    EXPECT_EQ(testenv::dialogs().shown().back().text, QStringLiteral("*.pbk"));
    EXPECT_EQ(path_->text(), nm_.path(QStringLiteral("site.pbk")));
    EXPECT_EQ(dialer_.phonebook(), nm_.path(QStringLiteral("site.pbk")));
    EXPECT_EQ(items(), (QStringList{QStringLiteral("North well"), QStringLiteral("South well")}));
    EXPECT_EQ(dialer_.entryName(), QStringLiteral("North well"));

    // Cancelled: the phonebook chosen before stays, for the text and for the dialer.
    button("PhonebookBtn")->click();
    EXPECT_EQ(path_->text(), nm_.path(QStringLiteral("site.pbk")));
    EXPECT_EQ(dialer_.phonebook(), nm_.path(QStringLiteral("site.pbk")));
    EXPECT_EQ(items().size(), 2);

    // A phonebook that cannot be read leaves the list as it was and shows nothing.
    dialer_.setPhonebook(nm_.path(QStringLiteral("missing.pbk")));
    handlers_.FillPhonebookEntries();
    EXPECT_EQ(items().size(), 2);
    EXPECT_EQ(testenv::dialogs().shown().size(), 2u);
}

TEST(DialUpDialerTest, WithoutNetworkManager)
{
    const QByteArray saved = qgetenv("PATH");
    QTemporaryDir empty;
    qputenv("PATH", empty.path().toLocal8Bit());
    DialUpDialer dialer;
    dialer.setEntryName(QStringLiteral("Plant modem"));
    QStringList entries{QStringLiteral("kept")};
    EXPECT_EQ(dialer.ListEntries(entries), DialUpDialer::ErrorNoService);
    EXPECT_EQ(entries, QStringList{QStringLiteral("kept")});
    EXPECT_EQ(dialer.Dial(), DialUpDialer::ErrorNoService);
    EXPECT_EQ(dialer.GetErrorText(DialUpDialer::ErrorNoService),
              QStringLiteral("Dial-up networking is not available (NetworkManager's nmcli). (nmcli was not found)"));
    qputenv("PATH", saved);
}

}  // namespace

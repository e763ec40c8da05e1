// The TCP address book: its file, and the setup form's handlers that edit it.
#include "comm.h"
#include "commtestsupport.h"
#include "portaddrmgr.h"
#include "testenv.h"

#include <gtest/gtest.h>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFocusEvent>
#include <QLineEdit>
#include <QTemporaryDir>

namespace {

QString bookFile()
{
    return TComm::addressBookFile();
}

void writeBook(const QByteArray& content)
{
    QFile file(bookFile());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
}

QByteArray readBook()
{
    QFile file(bookFile());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

std::vector<_item> entries(const PortAddrMgr& book)
{
    std::vector<_item> out;
    for (int i = 0; i < book.Count(); ++i)
        out.push_back(book.Get(i));
    return out;
}

TEST(AddressBookFile, LinesOfTheFile)
{
    struct Case {
        const char* line;
        bool kept;
        const char* address;
        const char* description;
        int port;
    };
    const Case cases[] = {
        {"10.0.0.5,Plant A,502", true, "10.0.0.5", "Plant A", 502},
        // Long descriptions, and commas in them, stay whole.
        {"host,A description far longer than twenty-five characters,10001", true, "host",
         "A description far longer than twenty-five characters", 10001},
        {"host,North, tank 3,23", true, "host", "North, tank 3", 23},
        {",,23", true, "", "", 23},
        {"host,telnet service,telnet", true, "host", "telnet service", 0},
        {"host,d,23x", true, "host", "d", 23},
        {"host,d, -7", true, "host", "d", -7},
        {"host,d,99999999999", true, "host", "d", 0},
        // A second sign is no port; nor is the smallest 64-bit value behind one (found by fuzzing).
        {"a,b,--9223372036854775808", true, "a", "b", 0},
        {"a,b,+-5", true, "a", "b", 0},
        {"a,b,-+5", true, "a", "b", 0},
        {"a,b,-2147483648", true, "a", "b", -2147483647 - 1},
        {"a,b,-2147483649", true, "a", "b", 0},
        {"a,b,2147483647", true, "a", "b", 2147483647},
        {"a,b,2147483648", true, "a", "b", 0},
        {"a,b,+23", true, "a", "b", 23},
        {"a,b,99999999999999999999999", true, "a", "b", 0},
        {"no commas at all", false, "", "", 0},
        {"one,comma", false, "", "", 0},
    };
    for (const Case& c : cases) {
        _item item;
        EXPECT_EQ(PortAddrMgr::ParseLine(QString::fromUtf8(c.line), item), c.kept) << c.line;
        if (!c.kept)
            continue;
        EXPECT_EQ(item.address, QString::fromUtf8(c.address)) << c.line;
        EXPECT_EQ(item.description, QString::fromUtf8(c.description)) << c.line;
        EXPECT_EQ(item.port, c.port) << c.line;
    }
}

TEST(AddressBookFile, LoadSkipsWhatIsNoEntryAndReadsWindowsLineEnds)
{
    writeBook("a,first,1\r\n\nbroken line\r\nb,second,2\nc,third,3");
    PortAddrMgr book;
    ASSERT_EQ(book.Load(bookFile()), 0);
    const auto items = entries(book);
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0].description, QStringLiteral("first"));
    EXPECT_EQ(items[1].address, QStringLiteral("b"));
    EXPECT_EQ(items[2].port, 3);
}

TEST(AddressBookFile, SaveAndLoadRoundTrip)
{
    PortAddrMgr book;
    book.Add(QStringLiteral("10.1.1.1"), QStringLiteral("A description of well over twenty-five characters"), 502);
    book.Add(QStringLiteral("unit.example"), QStringLiteral("Tank, north"), 23);
    ASSERT_EQ(book.Save(bookFile()), 0);
    EXPECT_EQ(readBook(), QByteArray("10.1.1.1,A description of well over twenty-five characters,502\n"
                                     "unit.example,Tank, north,23\n"));
    PortAddrMgr again;
    ASSERT_EQ(again.Load(bookFile()), 0);
    ASSERT_EQ(again.Count(), 2);
    EXPECT_EQ(again.Get(0).description, book.Get(0).description);
    EXPECT_EQ(again.Get(1).description, QStringLiteral("Tank, north"));
}

TEST(AddressBookFile, MissingAndUnwritableFiles)
{
    PortAddrMgr book;
    book.Add(QStringLiteral("a"), QStringLiteral("b"), 1);
    EXPECT_EQ(book.Load(QDir(testenv::dataHome()).filePath(QStringLiteral("none/addrInfo.cfg"))), -1);
    EXPECT_EQ(book.Count(), 0);
    book.Add(QStringLiteral("a"), QStringLiteral("b"), 1);
    EXPECT_EQ(book.Save(QDir(testenv::dataHome()).filePath(QStringLiteral("none/addrInfo.cfg"))), -1);
}

TEST(AddressBookFile, EditingOperations)
{
    PortAddrMgr book;
    book.Insert(5, QStringLiteral("first"), QString(), 1);  // an empty book appends wherever
    book.Insert(0, QStringLiteral("zero"), QString(), 0);
    book.Insert(9, QStringLiteral("nowhere"), QString(), 9);
    book.Set(1, QStringLiteral("one"), QStringLiteral("d"), 11);
    book.Set(7, QStringLiteral("nowhere"), QString(), 0);
    book.Remove(-1);
    ASSERT_EQ(book.Count(), 2);
    EXPECT_EQ(book.Get(0).address, QStringLiteral("zero"));
    EXPECT_EQ(book.Get(1).port, 11);
    EXPECT_EQ(book.IndexOfAddress(QStringLiteral("one")), 1);
    EXPECT_FALSE(book.ContainsAddress(QStringLiteral("One")));
    EXPECT_FALSE(book.ContainsAddress(QStringLiteral("one ")));
    book.Remove(0);
    EXPECT_EQ(book.IndexOfAddress(QStringLiteral("one")), 0);
}

TEST(SearchTokenTest, Splitting)
{
    EXPECT_EQ(SearchToken(QStringLiteral("no delimiter"), QStringLiteral(",")).Count(), 0);
    const SearchToken t(QStringLiteral("a,,a description longer than twenty-five characters,502"), QStringLiteral(","));
    ASSERT_EQ(t.Count(), 4);
    EXPECT_EQ(t.Token(1), QString());
    EXPECT_EQ(t.Token(2), QStringLiteral("a description longer than twenty-five characters"));
    EXPECT_EQ(t.Token(3), QStringLiteral("502"));
    EXPECT_EQ(t.Token(4), QString());
}

class AddressBookFormTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        commtest::removeStore(testenv::configHome());
        QFile::remove(bookFile());
        testenv::dialogs().clear();
        comm_ = std::make_unique<TComm>();
        comm_->selectConnectType(TComm::Tcp);
    }

    template <typename T>
    T* control(const char* name) const
    {
        return comm_->findChild<T*>(QString::fromLatin1(name));
    }
    QComboBox* ethAddr() const { return control<QComboBox>("ethAddr"); }
    QComboBox* comDesc() const { return control<QComboBox>("comDesc"); }
    QLineEdit* ledPort() const { return control<QLineEdit>("ledPort"); }

    void type(const QString& address, const QString& port)
    {
        ethAddr()->setEditText(address);
        ledPort()->setText(port);
    }

    std::unique_ptr<TComm> comm_;
};

TEST_F(AddressBookFormTest, OkAddsANewAddressWithItselfAsDescription)
{
    type(QStringLiteral("10.0.0.9"), QStringLiteral("502"));
    comm_->btnOKClick();
    EXPECT_EQ(readBook(), QByteArray("10.0.0.9,10.0.0.9,502\n"));
    EXPECT_EQ(comDesc()->currentText(), QStringLiteral("10.0.0.9"));
    // The same bytes again add nothing; another case is another address.
    comm_->show();
    type(QStringLiteral("10.0.0.9"), QStringLiteral("23"));
    comm_->btnOKClick();
    EXPECT_EQ(comm_->addressBook().Count(), 1);
    comm_->show();
    type(QStringLiteral("Unit.example"), QStringLiteral("telnet"));
    comm_->ethAddrKeyPress();
    comm_->show();
    type(QStringLiteral("unit.example"), QStringLiteral("23x"));
    comm_->ethAddrKeyPress();
    comm_->hide();
    PortAddrMgr stored;
    ASSERT_EQ(stored.Load(bookFile()), 0);
    ASSERT_EQ(stored.Count(), 3);
    EXPECT_EQ(stored.Get(stored.IndexOfAddress(QStringLiteral("Unit.example"))).port, 0);
    EXPECT_EQ(stored.Get(stored.IndexOfAddress(QStringLiteral("unit.example"))).port, 23);
    EXPECT_TRUE(testenv::dialogs().shown().empty());
}

TEST_F(AddressBookFormTest, ShowingReadsTheBookAndSelectsTheRememberedAddress)
{
    writeBook("a.example,First,1\nb.example,Second,2\n");
    CommSettings s;
    s.connectType = TComm::Tcp;
    s.wsAddress = QStringLiteral("b.example");
    s.wsPort = QStringLiteral("2");
    s.store();
    comm_ = std::make_unique<TComm>();
    comm_->show();
    EXPECT_EQ(ethAddr()->count(), 2);
    EXPECT_EQ(comDesc()->itemText(0), QStringLiteral("First"));
    EXPECT_EQ(ethAddr()->currentIndex(), 1);
    EXPECT_EQ(comDesc()->currentText(), QStringLiteral("Second"));
    EXPECT_EQ(comm_->addressPosition(), 1);
    comm_->comDescSelect(0);
    EXPECT_EQ(ethAddr()->currentText(), QStringLiteral("a.example"));
    EXPECT_EQ(ledPort()->text(), QStringLiteral("1"));
    // The description box taking the focus makes its selection the current entry.
    comDesc()->setCurrentIndex(1);
    QFocusEvent focus(QEvent::FocusIn);
    QCoreApplication::sendEvent(comDesc(), &focus);
    EXPECT_EQ(comm_->addressPosition(), 1);
    comm_->hide();
}

TEST_F(AddressBookFormTest, EnterChecksItsTextsInOrder)
{
    struct Case {
        const char* description;
        const char* address;
        const char* port;
        const char* message;
    };
    const Case cases[] = {
        {"", "a", "1", "Description should not be empty, please input valid Description"},
        {"d", "", "1", "IP Address should not be empty, please input valid IP Address"},
        {"d", "a", "", "Port should not be empty, please input valid Port Value"},
    };
    for (const Case& c : cases) {
        testenv::dialogs().clear();
        comDesc()->setEditText(QString::fromUtf8(c.description));
        type(QString::fromUtf8(c.address), QString::fromUtf8(c.port));
        comm_->comDescKeyDown();
        ASSERT_EQ(testenv::dialogs().shown().size(), 1u);
        EXPECT_EQ(testenv::dialogs().shown()[0].caption, QStringLiteral("Attention"));
        EXPECT_EQ(testenv::dialogs().shown()[0].text, QString::fromUtf8(c.message));
    }
    EXPECT_EQ(comm_->addressBook().Count(), 0);
    EXPECT_FALSE(QFile::exists(bookFile()));
}

TEST_F(AddressBookFormTest, DescriptionPortAndDelete)
{
    // With no current entry a description makes a new first entry.
    type(QStringLiteral("10.0.0.1"), QStringLiteral("502"));
    comDesc()->setEditText(QStringLiteral("Tank farm"));
    comm_->comDescKeyDown();
    EXPECT_EQ(readBook(), QByteArray("10.0.0.1,Tank farm,502\n"));
    // With a current entry the description replaces its own.
    comDesc()->setEditText(QStringLiteral("Tank farm, west"));
    comm_->comDescKeyDown();
    EXPECT_EQ(comDesc()->count(), 1);
    EXPECT_EQ(readBook(), QByteArray("10.0.0.1,Tank farm, west,502\n"));
    ledPort()->setText(QStringLiteral("503"));
    comm_->ledPortKeyPress();
    EXPECT_EQ(readBook(), QByteArray("10.0.0.1,Tank farm, west,503\n"));
    comm_->btnDeleteClick();
    EXPECT_EQ(ethAddr()->count(), 0);
    EXPECT_EQ(comDesc()->count(), 0);
    EXPECT_EQ(comm_->addressPosition(), -1);
    EXPECT_EQ(readBook(), QByteArray());
    comm_->btnDeleteClick();  // nothing left: nothing happens
    EXPECT_TRUE(testenv::dialogs().shown().empty());
}

TEST_F(AddressBookFormTest, ABookThatCannotBeWrittenIsReported)
{
    // A folder where the file should be: the file cannot be replaced.
    ASSERT_TRUE(QDir().mkpath(bookFile()));
    type(QStringLiteral("10.0.0.2"), QStringLiteral("23"));
    comm_->ethAddrKeyPress();
    ASSERT_EQ(testenv::dialogs().shown().size(), 1u);
    EXPECT_EQ(testenv::dialogs().shown()[0].caption, QStringLiteral("Attention"));
    EXPECT_TRUE(testenv::dialogs().shown()[0].text.contains(QStringLiteral("could not be saved")));
    // The change stays in the book and the lists.
    EXPECT_EQ(comm_->addressBook().Count(), 1);
    EXPECT_EQ(ethAddr()->count(), 1);
    QDir(bookFile()).removeRecursively();
}

}  // namespace

#include "securitychk.h"
#include "testenv.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>

namespace {
class SecurityTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SecurityChk::ReleaseInstance();
        sec = SecurityChk::Instance();
        sec->SetDataDirectory();
        QFile::remove(passwordPath());
        QDir(passwordPath()).removeRecursively();
    }
    void TearDown() override { SecurityChk::ReleaseInstance(); }
    QString passwordPath() const { return sec->DataFilePath(SecurityChk::kPasswordFile); }
    QByteArray passwordBytes() const
    {
        QFile f(passwordPath());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    SecurityChk* sec = nullptr;
};
}  // namespace

TEST_F(SecurityTest, DataDirectoryIsUnderXdgDataHome)
{
    EXPECT_EQ(sec->GetDataDirectory(), testenv::dataHome() + "/KVT515");
    EXPECT_TRUE(QDir(sec->GetDataDirectory()).exists());
    EXPECT_TRUE(sec->ChangeToDataDirectory());
    EXPECT_EQ(QDir::currentPath(), sec->GetDataDirectory());
    EXPECT_TRUE(sec->IsReadOnly());
}

TEST_F(SecurityTest, FreshInstallationThenFactoryReset)
{
    EXPECT_TRUE(sec->CheckPassword("qe$3916"));
    EXPECT_FALSE(sec->CheckPassword("QE$3916"));
    EXPECT_FALSE(sec->CheckPassword("7315"));
    EXPECT_FALSE(sec->CheckPassword(""));

    ASSERT_TRUE(sec->ResetPassword());
    EXPECT_TRUE(sec->CheckPassword("7315"));
    EXPECT_TRUE(sec->CheckPassword("qe$3916"));
    EXPECT_FALSE(sec->CheckPassword("7316"));
    // The file holds the 16 raw bytes of the digest, nothing else.
    const auto digest = SecurityChk::Md5("7315");
    EXPECT_EQ(passwordBytes(), QByteArray(reinterpret_cast<const char*>(digest.data()), 16));
}

TEST_F(SecurityTest, DigestWithALineFeedByteIsStoredRaw)
{
    std::string password;
    for (int i = 0; password.empty(); ++i) {
        const auto d = SecurityChk::Md5("pw" + std::to_string(i));
        if (std::find(d.begin(), d.end(), 0x0A) != d.end())
            password = "pw" + std::to_string(i);
    }
    ASSERT_TRUE(sec->SetPassword(password));
    EXPECT_EQ(passwordBytes().size(), 16);
    EXPECT_TRUE(sec->CheckPassword(password));
    EXPECT_TRUE(SecurityChk::Md5("abc")[0] == 0x90);  // RFC 1321 test vector 900150983cd24fb0...
}

TEST_F(SecurityTest, DamagedPasswordFileIsNoPassword)
{
    ASSERT_TRUE(sec->SetPassword("7315"));
    for (const QByteArray& content : {passwordBytes().left(15), passwordBytes() + "x", QByteArray()}) {
        QFile f(passwordPath());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(content);
        f.close();
        EXPECT_FALSE(sec->CheckPassword("7315")) << content.size();
        EXPECT_TRUE(sec->CheckPassword("qe$3916"));
    }
}

TEST_F(SecurityTest, UnwritablePasswordFileKeepsTheOldPassword)
{
    ASSERT_TRUE(sec->SetPassword("7315"));
    // Replace the file by a folder of the same name: it can be read as nothing and not written.
    QFile::remove(passwordPath());
    ASSERT_TRUE(QDir().mkpath(passwordPath()));
    EXPECT_FALSE(sec->SetPassword("new"));
    EXPECT_FALSE(sec->CheckPassword("new"));
    QDir(passwordPath()).removeRecursively();
}

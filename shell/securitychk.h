#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <string>

// Access mode, the update-mode password and the program's two directories, shared by the
// whole program.
class SecurityChk {
public:
    static SecurityChk* Instance();
    static void ReleaseInstance();

    bool IsReadOnly() const { return readOnly_; }
    void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }

    bool CheckPassword(const std::string& password);
    // False when "Passw.dat" could not be written; the password in force then stays the old one.
    bool SetPassword(const std::string& password);
    bool ResetPassword();

    // 0 on success, 1 on failure. A file that is not exactly 16 bytes is no password.
    int ReadPasswordFile(const QString& fileName);
    int WritePasswordFile(const QString& fileName);

    // $XDG_DATA_HOME/KVT515, created when missing; empty when it cannot be made.
    void SetDataDirectory();
    void SetStartDirectory();
    QString GetDataDirectory() const { return dataDirectory_; }
    QString GetStartDirectory() const { return startDirectory_; }
    // Makes the data directory current: files the program opens by relative name land there.
    bool ChangeToDataDirectory() const;
    // A file of the program's own, by absolute path in the data directory.
    QString DataFilePath(const QString& name) const;

    static std::array<std::uint8_t, 16> Md5(const std::string& text);

    static constexpr char kPasswordFile[] = "Passw.dat";

private:
    SecurityChk() = default;

    bool readOnly_ = true;
    std::array<std::uint8_t, 16> digest_{};
    QString dataDirectory_;
    QString startDirectory_;
};

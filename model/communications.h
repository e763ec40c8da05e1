#pragma once

#include "commstatus.h"

#include <QString>
#include <array>
#include <cstdint>
#include <exception>
#include <memory>
#include <string>

// The status of a failed exchange with the unit, raised as an exception. It is how every link or
// answer failure travels through the data model and the commands; the command that catches it
// decides what the user sees (Communications::GetErrorText gives the text).
//
// Values: 1-6 come from Portelle's exchange (2 invalid response, 3 rejected by the unit,
// 4 no response, 5 port not open, 6 cancelled by the user); 20 and 21 come from the checks of
// the answers (21: the answer is not the one the request asks for: wrong type, too short for
// the fields read from it, or too long for the area that receives it).
class CommStatusError : public std::exception {
public:
    explicit CommStatusError(int s);
    const char* what() const noexcept override { return what_.c_str(); }

    int status;

private:
    std::string what_;
};

// One request/answer exchange with the unit. Communications carries it through Portelle; tests
// put a scripted link in its place.
class MessageLink {
public:
    virtual ~MessageLink() = default;
    // message is a unit message ([L][type][payload], L bytes, L its own first byte). The answer
    // message is copied into answer, which holds capacity bytes; returns the answer's length.
    // Raises CommStatusError for a failed exchange, and 21 for an answer longer than capacity
    // (nothing is copied then).
    virtual int SendReceive(const std::uint8_t* message, std::uint8_t* answer, int capacity, bool notify) = 0;
};

// The program's binding to libPortelle.so, the communications engine. The library is loaded once
// and stays loaded for the life of the process; without it every operation fails cleanly
// (SendReceive raises 5, CommConnect answers 1, the others do nothing).
class Communications : public MessageLink {
public:
    static constexpr int kBufferSize = 1024;

    // The process-wide binding, loading the library from the program's folder on first use.
    static Communications* Instance();
    static void ReleaseInstance();
    // Puts a binding of the caller's in place of the process-wide one (tests: a library from
    // another folder); it is owned, and destroyed by ReleaseInstance.
    static void InstallInstance(std::unique_ptr<Communications> communications);

    // Loads libPortelle.so from libraryDir; a failure is reported to the user (the system's
    // text, then "Unable to load libPortelle.so.") and leaves the object unloaded.
    explicit Communications(const QString& libraryDir);
    ~Communications() override;
    Communications(const Communications&) = delete;
    Communications& operator=(const Communications&) = delete;

    bool IsLoaded() const { return sendReceive_ != nullptr; }

    int SendReceive(const std::uint8_t* message, std::uint8_t* answer, int capacity, bool notify) override;
    QString GetErrorText(int status) const;
    // 0 connected, 1 not connected.
    int CommConnect();
    void CommDisconnect(bool onlyReset);
    void SetUserCancel(bool cancel);
    void ShowCommSetup();

private:
    void (*initialize_)() = nullptr;
    void (*cleanup_)() = nullptr;
    const char* (*getCommErrText_)(int) = nullptr;
    int (*commConnect_)() = nullptr;
    void (*commDisconnect_)(bool) = nullptr;
    int (*sendReceive_)(const unsigned char*, int, unsigned char*, int*, bool) = nullptr;
    void (*showCommSetup_)() = nullptr;
    void (*setUserCancel_)(bool) = nullptr;
    bool (*isOnline_)() = nullptr;

    std::array<std::uint8_t, kBufferSize> transmit_{};
    std::array<std::uint8_t, kBufferSize> answer_{};
};

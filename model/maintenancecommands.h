#pragma once

#include "command.h"

#include <cstdint>

class CommDBPointFacade;

// Requests that look after the unit itself: one message without payload each, a failure box,
// and status-line texts.
class UnitRequestCommand : public Command {
public:
    struct Row {
        const char* startText;
        void (CommDBPointFacade::*request)();
        const char* failureText;
        const char* doneText;  // null: none
    };

    explicit UnitRequestCommand(const Row& row) : row_(row) {}
    void Execute() override;

private:
    Row row_;
};

// "Reboot": the unit restarts.
class ResetCommand : public UnitRequestCommand {
public:
    ResetCommand();
};

class SetDefaultConfigCommand : public UnitRequestCommand {
public:
    SetDefaultConfigCommand();
};

class WipeALCommand : public UnitRequestCommand {
public:
    WipeALCommand();
};

class WipeLogCommand : public UnitRequestCommand {
public:
    WipeLogCommand();
};

// Waits until the unit answers again (after a reboot), reading its map version point.
class IsDeviceAvaiableCommand : public Command {
public:
    static constexpr int kVersionPoint = 500;  // "Ridovaz Version"
    static constexpr int kMaxFailures = 100;
    static constexpr int kRetryMs = 1000;

    void Execute() override;

    // The pause after a failed read; tests shorten it.
    static void SetRetryDelay(int ms) { retryMs_ = ms; }

private:
    static int retryMs_;
};

// "LoadModbusList": reads the unit's Modbus map into the database's list.
class ReadModbusList : public Command {
public:
    void Execute() override;
};

// Replaces the Modbus list by an empty one of the chosen mode (0 ENRON, 1 MODICON16,
// 2 MODICON32); the unit is not involved.
class NewModbusListCommand : public Command {
public:
    void Execute() override;
    void SetMode(std::uint8_t mode) { mode_ = mode; }
    std::uint8_t GetMode() const { return mode_; }
    std::any SaveFields() const override { return mode_; }
    void LoadFields(const std::any& fields) override { mode_ = std::any_cast<std::uint8_t>(fields); }

private:
    std::uint8_t mode_ = 0;
};

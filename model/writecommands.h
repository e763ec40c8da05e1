#pragma once

#include "command.h"

#include <cstdint>
#include <string>
#include <utility>

// One point written at once: the road of an edit a page sends immediately. Its data travel with
// each queue entry, so two writes queued while another command runs each write their own point.
class WriteSinglePointCommand : public Command {
public:
    using Fields = std::pair<std::uint16_t, std::string>;

    void Execute() override;
    void SetPoint(std::uint16_t pointId, const std::string& value) { fields_ = {pointId, value}; }
    std::any SaveFields() const override { return fields_; }
    void LoadFields(const std::any& fields) override { fields_ = std::any_cast<Fields>(fields); }
    // Writes the unit has taken since start.
    std::uint64_t Accepted() const { return accepted_; }

private:
    Fields fields_{0, {}};
    std::uint64_t accepted_ = 0;
};

// Everything edited so far: the pages store their blocks first, then every modified point and
// changed block is written. Succeeds when everything was written. The parameter names the
// command queued once a write that no page refused has run (the tool bar's read of the page);
// empty, nothing. A refused write sends nothing and queues nothing, so no read replaces the edits
// it keeps.
class WriteMainCommand : public Command {
public:
    void Execute() override;
    // Whether a page refused the last write.
    bool Refused() const { return refused_; }

private:
    bool refused_ = false;
};

// The configuration just loaded from a file, modified or not. The parameter is the number of
// point entries the file held, as decimal text (the progress maximum). Succeeds when everything
// was written.
class WriteDirectCommand : public Command {
public:
    void Execute() override;
};

// The unit copies its working configuration into flash; the command polls until it is done.
// Succeeds when the unit reported its flash write finished.
class WriteConfigCommand : public Command {
public:
    static constexpr int kPollMs = 1000;
    static constexpr int kMaxPolls = 70;

    void Execute() override;

    // The pause between flash status requests; tests shorten it.
    static void SetPollDelay(int ms) { pollMs_ = ms; }

private:
    // True when the status line is to be cleared afterwards.
    bool WriteFlash();

    static int pollMs_;
};

// After a direct control of an output, waits until the unit confirms that it has taken it.
class DirectControlConfirmCommand : public Command {
public:
    static constexpr int kConfirmationPoint = 333;  // "Direct Control Confirmation"
    static constexpr int kRetryMs = 300;
    static constexpr int kAttempts = 3;

    void Execute() override;

    static void SetRetryDelay(int ms) { retryMs_ = ms; }

private:
    static int retryMs_;
};

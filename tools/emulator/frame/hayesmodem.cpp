#include "hayesmodem.h"

#include <QTimer>

HayesModem::HayesModem(std::shared_ptr<Control> control, std::function<void(const QByteArray&)> toHost,
                       std::function<void(const QByteArray&)> toUnit, QObject* parent)
        : QObject(parent), control_(std::move(control)), toHost_(std::move(toHost)), toUnit_(std::move(toUnit))
{
    dialTimer_ = new QTimer(this);
    dialTimer_->setSingleShot(true);
    connect(dialTimer_, &QTimer::timeout, this, [this] { finishDial(); });
    escapeTimer_ = new QTimer(this);
    escapeTimer_->setSingleShot(true);
    connect(escapeTimer_, &QTimer::timeout, this, [this] { escapeGuardPassed(); });
    sinceData_.start();
}

bool HayesModem::enabled() const
{
    std::lock_guard<std::mutex> lock(control_->mutex);
    return control_->enabled;
}

void HayesModem::setState(State state)
{
    state_ = state;
    std::lock_guard<std::mutex> lock(control_->mutex);
    control_->online = carriesData();
}

void HayesModem::reply(const char* text)
{
    toHost_(QByteArray("\r\n") + text + "\r\n");
}

void HayesModem::fromHost(const QByteArray& bytes)
{
    switch (state_) {
    case State::Command:
    case State::OnlineCommand:
        for (char c : bytes)
            commandByte(c);
        return;
    case State::Dialing:
        // Any character ends a dial.
        dialTimer_->stop();
        setState(State::Command);
        reply("NO CARRIER");
        return;
    case State::Online: {
        int guard = 0;
        {
            std::lock_guard<std::mutex> lock(control_->mutex);
            guard = control_->guardTimeMs;
        }
        const bool allPlus = bytes.count('+') == bytes.size();
        const bool quietBefore = !pendingPlus_.isEmpty() || sinceData_.elapsed() >= guard;
        sinceData_.restart();
        if (allPlus && quietBefore && pendingPlus_.size() + bytes.size() <= 3) {
            pendingPlus_ += bytes;
            escapeTimer_->stop();
            if (pendingPlus_.size() == 3)
                escapeTimer_->start(guard);
            return;
        }
        escapeTimer_->stop();
        QByteArray data = pendingPlus_ + bytes;
        pendingPlus_.clear();
        toUnit_(data);
        return;
    }
    }
}

void HayesModem::escapeGuardPassed()
{
    if (state_ != State::Online || pendingPlus_ != "+++")
        return;
    pendingPlus_.clear();
    setState(State::OnlineCommand);
    reply("OK");
}

void HayesModem::commandByte(char c)
{
    if (echo_)
        toHost_(QByteArray(1, c));
    if (c == '\r') {
        const QByteArray line = line_.trimmed().toUpper();
        line_.clear();
        if (!line.isEmpty())
            commandLine(line);
        return;
    }
    if (c == '\n')
        return;
    if (c == '\b') {
        line_.chop(1);
        return;
    }
    if (line_.size() < 256)
        line_.append(c);
}

void HayesModem::commandLine(const QByteArray& line)
{
    if (!line.startsWith("AT"))
        return;
    {
        std::lock_guard<std::mutex> lock(control_->mutex);
        control_->commands << QString::fromLatin1(line);
    }
    const QByteArray body = line.mid(2);
    if (body.startsWith('D')) {
        if (state_ != State::Command) {
            reply("ERROR");
            return;
        }
        QByteArray number = body.mid(1);
        if (number.startsWith('T') || number.startsWith('P'))
            number.remove(0, 1);
        int delay = 0;
        {
            std::lock_guard<std::mutex> lock(control_->mutex);
            control_->dialled << QString::fromLatin1(number);
            delay = control_->dialDelayMs;
        }
        setState(State::Dialing);
        dialTimer_->start(delay);
        return;
    }
    if (body.startsWith('H')) {
        if (carriesData()) {
            std::lock_guard<std::mutex> lock(control_->mutex);
            ++control_->hangups;
        }
        setState(State::Command);
        reply("OK");
        return;
    }
    if (body.startsWith('O')) {
        if (state_ != State::OnlineCommand) {
            reply("NO CARRIER");
            return;
        }
        setState(State::Online);
        sinceData_.restart();
        toHost_(QByteArray("\r\nCONNECT ") + QByteArray::number(rate_) + "\r\n");
        return;
    }
    if (body.startsWith('Z') || body.startsWith("&F"))
        echo_ = true;
    if (body.contains("E0"))
        echo_ = false;
    else if (body.contains("E1"))
        echo_ = true;
    reply("OK");
}

void HayesModem::finishDial()
{
    if (state_ != State::Dialing)
        return;
    DialAnswer answer = DialAnswer::Connect;
    {
        std::lock_guard<std::mutex> lock(control_->mutex);
        if (!control_->answers.empty()) {
            answer = control_->answers.front();
            control_->answers.pop_front();
        }
        rate_ = control_->connectRate;
    }
    switch (answer) {
    case DialAnswer::Connect:
        setState(State::Online);
        sinceData_.restart();
        toHost_(QByteArray("\r\nCONNECT ") + QByteArray::number(rate_) + "\r\n");
        return;
    case DialAnswer::Busy:
        setState(State::Command);
        reply("BUSY");
        return;
    case DialAnswer::NoCarrier:
        setState(State::Command);
        reply("NO CARRIER");
        return;
    case DialAnswer::NoAnswer:
        setState(State::Command);
        reply("NO ANSWER");
        return;
    case DialAnswer::NoDialtone:
        setState(State::Command);
        reply("NO DIALTONE");
        return;
    }
}

void HayesModem::dropCarrier()
{
    if (!carriesData())
        return;
    escapeTimer_->stop();
    pendingPlus_.clear();
    {
        std::lock_guard<std::mutex> lock(control_->mutex);
        ++control_->carrierDrops;
    }
    setState(State::Command);
    reply("NO CARRIER");
}

#pragma once

#include <QByteArray>
#include <optional>

// The emulated unit's message level: given the message of a well-formed frame addressed to the
// unit ([length][type][payload]), the answer message, or nothing to stay silent.
class MessageHandler {
public:
    virtual ~MessageHandler() = default;
    virtual std::optional<QByteArray> handleMessage(const QByteArray& message) = 0;
};

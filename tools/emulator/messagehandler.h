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

#include <QString>
#include <memory>

// The emulated unit's message level, loaded from a scenario file (empty: a unit with defaults).
std::unique_ptr<MessageHandler> makeUnitHandler(const QString& scenarioFile = {});

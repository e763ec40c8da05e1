#include "messagehandler.h"

namespace {
// Until the message level exists: answer every message with its type plus one and no payload.
class EchoTypeHandler : public MessageHandler {
public:
    std::optional<QByteArray> handleMessage(const QByteArray& message) override
    {
        if (message.size() < 2)
            return std::nullopt;
        QByteArray answer(2, '\0');
        answer[0] = 2;
        answer[1] = static_cast<char>(static_cast<unsigned char>(message[1]) + 1);
        return answer;
    }
};
}  // namespace

std::unique_ptr<MessageHandler> makeUnitHandler(const QString&) { return std::make_unique<EchoTypeHandler>(); }

// Gateway replies: the text after "CCI" as the communications form takes it (a connection list
// or a station address).
#include "comm.h"
#include "frame.h"
#include "fuzzsupport.h"

#include <QByteArray>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzzsupport::initApplication();
    static TComm* comm = new TComm;
    const QByteArray text(reinterpret_cast<const char*>(data), static_cast<int>(size));
    comm->HandleCciReply(text);
    // The same text as it arrives on the line, judged as the engine judges it.
    std::vector<std::uint8_t> line = {'C', 'C', 'I'};
    line.insert(line.end(), data, data + std::min<std::size_t>(size, 1000));
    frame::judge(line.data(), static_cast<int>(line.size()));
    comm->gatewayConnections();
    fuzzsupport::forgetDialogs();
    return 0;
}

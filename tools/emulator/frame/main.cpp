// emu515: the emulated unit as a program, for trying the desktop program without a unit.
#include "messagehandler.h"
#include "unitemulator.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("emu515"));
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Emulated Sentrel515 unit on a loopback TCP port and a pseudo-terminal."));
    parser.addHelpOption();
    const QCommandLineOption scenario(QStringLiteral("scenario"), QStringLiteral("Scenario file of the unit."),
                                      QStringLiteral("file"));
    const QCommandLineOption port(QStringLiteral("port"), QStringLiteral("TCP port (default: any free port)."),
                                  QStringLiteral("number"), QStringLiteral("0"));
    const QCommandLineOption station(QStringLiteral("station"), QStringLiteral("Station address (default 1)."),
                                     QStringLiteral("number"), QStringLiteral("1"));
    const QCommandLineOption baud(QStringLiteral("baud"),
                                  QStringLiteral("Pace the line at this baud rate (default: no pacing)."),
                                  QStringLiteral("rate"), QStringLiteral("0"));
    const QCommandLineOption modem(QStringLiteral("modem"),
                                   QStringLiteral("Put a Hayes modem in front of the unit on the pseudo-terminal."));
    const QCommandLineOption dialDelay(QStringLiteral("dial-delay"),
                                       QStringLiteral("Modem: milliseconds from ATD to CONNECT (default 2000)."),
                                       QStringLiteral("ms"), QStringLiteral("2000"));
    parser.addOptions({scenario, port, station, baud, modem, dialDelay});
    parser.process(app);

    bool ok = false;
    const uint tcpPort = parser.value(port).toUInt(&ok);
    if (!ok || tcpPort > 65535) {
        std::fprintf(stderr, "emu515: bad port %s\n", qPrintable(parser.value(port)));
        return 2;
    }
    const uint address = parser.value(station).toUInt(&ok);
    if (!ok || address < 1 || address > 255) {
        std::fprintf(stderr, "emu515: station must be 1..255\n");
        return 2;
    }
    const int rate = parser.value(baud).toInt(&ok);
    if (!ok || rate < 0) {
        std::fprintf(stderr, "emu515: bad baud rate %s\n", qPrintable(parser.value(baud)));
        return 2;
    }

    UnitEmulator unit(makeUnitHandler(parser.value(scenario)), static_cast<std::uint8_t>(address));
    unit.setBaudRate(rate);
    unit.setModemMode(parser.isSet(modem));
    unit.setDialDelayMs(parser.value(dialDelay).toInt());
    if (!unit.start(static_cast<quint16>(tcpPort))) {
        std::fprintf(stderr, "emu515: cannot open the TCP port or the pseudo-terminal\n");
        return 1;
    }
    std::printf("tcp 127.0.0.1:%u\npty %s\n", unsigned(unit.tcpPort()), qPrintable(unit.ptyPath()));
    std::fflush(stdout);
    return app.exec();
}

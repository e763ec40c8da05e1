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
    const QCommandLineOption gateway(
        QStringLiteral("gateway"),
        QStringLiteral("Put a text-command gateway in front of the unit on TCP, with these connections "
                       "(name=address, separated by semicolons, e.g. \"line1=1;line2=7\")."),
        QStringLiteral("connections"));
    const QCommandLineOption modem(QStringLiteral("modem"),
                                   QStringLiteral("Put a Hayes modem in front of the unit on the pseudo-terminal."));
    const QCommandLineOption dialDelay(QStringLiteral("dial-delay"),
                                       QStringLiteral("Modem: milliseconds from ATD to CONNECT (default 2000)."),
                                       QStringLiteral("ms"), QStringLiteral("2000"));
    parser.addOptions({scenario, port, station, baud, gateway, modem, dialDelay});
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
    if (parser.isSet(gateway)) {
        UnitEmulator::Gateway gw;
        for (const QString& entry : parser.value(gateway).split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            const qsizetype eq = entry.lastIndexOf(QLatin1Char('='));
            const int number = eq > 0 ? entry.mid(eq + 1).toInt(&ok) : 0;
            if (eq <= 0 || !ok || entry.left(eq).contains(QLatin1Char(','))) {
                std::fprintf(stderr, "emu515: bad gateway connection %s\n", qPrintable(entry));
                return 2;
            }
            gw.connections.push_back({entry.left(eq).toLatin1(), number});
        }
        unit.setGateway(gw);
    }
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

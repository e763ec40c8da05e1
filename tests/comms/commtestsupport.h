#pragma once

#include "comm.h"
#include "commsettings.h"
#include "messagehandler.h"
#include "winmsg.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QString>
#include <QTcpServer>
#include <QThread>
#include <QWidget>
#include <functional>
#include <vector>

namespace commtest {

// A unit that answers every message with its type plus one and no payload, whatever the
// message is, so that the link's tests do not depend on what the emulated unit knows.
class EchoTypeHandler : public MessageHandler {
public:
    std::optional<QByteArray> handleMessage(const QByteArray& message) override
    {
        if (message.size() < 2)
            return std::nullopt;
        QByteArray answer(2, '\x02');
        answer[1] = static_cast<char>(static_cast<unsigned char>(message[1]) + 1);
        return answer;
    }
};

struct Message {
    int message;
    std::intptr_t wParam;
    std::intptr_t lParam;
    bool operator==(const Message& o) const { return message == o.message && wParam == o.wParam && lParam == o.lParam; }
};

// Stands in for the program's main form: records the link's window messages in order.
class MainFormSpy : public QWidget {
public:
    std::vector<Message> received;
    std::function<void(const Message&)> onMessage;

    int count(int message, std::intptr_t wParam, std::intptr_t lParam) const
    {
        int n = 0;
        for (const Message& m : received)
            n += m == Message{message, wParam, lParam};
        return n;
    }

protected:
    bool event(QEvent* e) override
    {
        if (e->type() == winmsg::WM_COMMSTATE || e->type() == winmsg::WM_COMMPROGRESS) {
            auto* m = static_cast<WinMessageEvent*>(e);
            received.push_back({m->message(), m->wParam, m->lParam});
            if (onMessage)
                onMessage(received.back());
            return true;
        }
        return QWidget::event(e);
    }
};

inline QByteArray bytes(std::initializer_list<int> list)
{
    QByteArray out;
    for (int b : list)
        out.append(static_cast<char>(b));
    return out;
}

inline quint16 freePort()
{
    QTcpServer server;
    server.listen(QHostAddress::LocalHost, 0);
    return server.serverPort();
}

// Pumps events until done() or the time is up.
inline bool pumpUntil(const std::function<bool()>& done, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents();
        QThread::msleep(1);
    }
    return true;
}

// Settings that reach a unit listening on loopback at port, with a back-off short enough that
// the silent cases stay quick.
inline CommSettings loopbackSettings(quint16 port)
{
    CommSettings s;
    s.connectType = TComm::Tcp;
    s.wsAddress = QStringLiteral("127.0.0.1");
    s.wsPort = QString::number(port);
    s.backoffTimer = QStringLiteral("20");
    return s;
}

inline void removeStore(const QString& configHome)
{
    QFile::remove(configHome + QStringLiteral("/Desktop515.conf"));
}

}  // namespace commtest

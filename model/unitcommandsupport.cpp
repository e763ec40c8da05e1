#include "unitcommandsupport.h"

#include "communications.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <algorithm>

namespace unitcommand {

BusyScope::BusyScope(FrameComm* frame, Wait wait) : frame_(frame), wait_(wait)
{
    frame_->SetState(framecomm::kDisablePages, true);
    frame_->SetState(framecomm::kBusy, true);
    if (wait_ == Wait::Shown)
        frame_->SetState(framecomm::kWaitWindow, true);
}

BusyScope::~BusyScope()
{
    if (wait_ == Wait::Shown)
        frame_->SetState(framecomm::kWaitWindow, false);
    frame_->SetState(framecomm::kBusy, false);
    frame_->SetState(framecomm::kEnablePages, true);
}

void pause(int ms, bool responsive)
{
    if (ms <= 0)
        return;
    if (!responsive) {
        QThread::msleep(static_cast<unsigned long>(ms));
        return;
    }
    QElapsedTimer clock;
    clock.start();
    for (qint64 left = ms; left > 0; left = ms - clock.elapsed()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, static_cast<int>(std::min<qint64>(left, 20)));
        QThread::msleep(static_cast<unsigned long>(std::min<qint64>(left, 5)));
    }
}

QString failureText(const std::exception& e)
{
    if (const auto* status = dynamic_cast<const CommStatusError*>(&e))
        return Communications::Instance()->GetErrorText(status->status);
    return QString::fromLocal8Bit(e.what());
}

}  // namespace unitcommand

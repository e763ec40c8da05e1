#include "dialogservice.h"
#include "startup.h"

#include <QApplication>

namespace {

// An exception that leaves an event handler is shown in a message box; the program goes on.
class KvtApplication : public QApplication {
public:
    using QApplication::QApplication;

    bool notify(QObject* receiver, QEvent* event) override
    {
        try {
            return QApplication::notify(receiver, event);
        } catch (const std::exception& e) {
            DialogService::showMessage(QString::fromLocal8Bit(e.what()));
        } catch (...) {
            DialogService::showMessage(QString());
        }
        return false;
    }
};

}  // namespace

// The program takes no arguments.
int main(int argc, char* argv[])
{
    KvtApplication app(argc, argv);
    QApplication::setApplicationName("KVT515");
    return startup::Run(app);
}

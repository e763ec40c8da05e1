#include "messagehandler.h"
#include "unitmodel.h"

#include <stdexcept>

std::unique_ptr<MessageHandler> makeUnitHandler(const QString& scenarioFile)
{
    auto unit = std::make_unique<UnitModel>();
    QString error;
    if (!scenarioFile.isEmpty() && !unit->loadScenario(scenarioFile, &error))
        throw std::runtime_error(error.toStdString());
    return unit;
}

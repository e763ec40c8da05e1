// Configuration files ("*.cfg"): the XML document read, checked whole and applied to the point
// database.
#include "configfile.h"
#include "fuzzdatabase.h"

#include <QByteArray>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzzsupport::initDatabase();
    const QByteArray document(reinterpret_cast<const char*>(data), static_cast<int>(size));
    int points = 0;
    QString error;
    LoadConfigurationDocument(document, &points, &error);
    fuzzsupport::forgetDialogs();
    return 0;
}

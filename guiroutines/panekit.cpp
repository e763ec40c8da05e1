// The exported entries of libPanekit.so: thin wrappers over the shared routines (common/) and the
// measurement table. No exception may leave an entry, so each body is guarded.
#include "panekit_api.h"

#include "appcontext.h"
#include "broadcast.h"
#include "chararray.h"
#include "controlgroup.h"
#include "dialogservice.h"
#include "floatformat.h"
#include "iqtorvahelp.h"
#include "measurementunits.h"
#include "statistics.h"
#include "statuspanels.h"
#include "timestamptoken.h"
#include "timetext.h"
#include "winmsg.h"

#include <QCoreApplication>
#include <QStandardPaths>
#include <QStringList>
#include <QWidget>
#include <algorithm>
#include <cstring>
#include <limits>
#include <string>

namespace {

template <typename Body, typename Result>
Result guarded(Body body, Result fallback) noexcept
{
    try {
        return body();
    } catch (...) {
        return fallback;
    }
}

template <typename Body>
void guarded(Body body) noexcept
{
    try {
        body();
    } catch (...) {
    }
}

// Writes text into the caller's buffer, cut to size - 1 bytes; returns the whole text's length.
int copyOut(const std::string& text, char* buffer, int size)
{
    if (buffer && size > 0) {
        const auto n = std::min(text.size(), static_cast<std::size_t>(size - 1));
        std::memcpy(buffer, text.data(), n);
        buffer[n] = '\0';
    }
    return static_cast<int>(std::min<std::size_t>(text.size(), std::numeric_limits<int>::max()));
}

std::string_view textOf(const char* text)
{
    return text ? std::string_view(text) : std::string_view();
}

void requestMainForm(int message, int n)
{
    bool delivered = false;
    try {
        if (QWidget* form = appcontext::mainForm()) {
            WinMessageEvent event(message, n, 0);
            QCoreApplication::sendEvent(form, &event);
            delivered = true;
        }
    } catch (...) {
    }
    if (!delivered)
        guarded([] { DialogService::showMessage(QStringLiteral("Error in sending Message from DLL")); });
}

}  // namespace

KVT_EXPORT void _Initialize() {}

// The library fills none of its module objects, so there is nothing to release.
KVT_EXPORT void _Cleanup() {}

KVT_EXPORT void EnableGroup(QWidget* control)
{
    guarded([&] { controlgroup::enableGroup(control); });
}

KVT_EXPORT void DisableGroup(QWidget* control)
{
    guarded([&] { controlgroup::disableGroup(control); });
}

KVT_EXPORT void LocalStatusBarMsg(QWidget* parent, const char* text, std::uint32_t colour, bool beep)
{
    guarded([&] { statuspanels::showLocalMessage(parent, QString::fromUtf8(text ? text : ""), colour, beep); });
}

KVT_EXPORT int CharArr2AnsiString(const char* data, int maxLength, char* buffer, int size)
{
    return guarded([&] { return copyOut(charArrayText(data, maxLength), buffer, size); },
                   copyOut(std::string(), buffer, size));
}

KVT_EXPORT void DoMyBroadcast(QWidget* root, WinMessageEvent* message, bool skipRoot, bool stopWhenHandled)
{
    guarded([&] { broadcast::send(root, message, skipRoot, stopWhenHandled); });
}

KVT_EXPORT int FormatFlt(float value, char* buffer, int size)
{
    return guarded([&] { return copyOut(floatfmt::formatFlt(value), buffer, size); }, copyOut({}, buffer, size));
}

KVT_EXPORT int GetHelpContextTORVA(QObject* object)
{
    return guarded(
        [&] {
            auto* help = qobject_cast<IQTORVAHelp*>(object);
            return help ? help->GetHelpContextTORVA() : 0;
        },
        0);
}

KVT_EXPORT double TimestampTokenToDate(PanekitTimestampToken token)
{
    return guarded([&] { return timestamp::toDateTime(token); }, 0.0);
}

KVT_EXPORT PanekitTimestampToken DateToTimestampToken(double dateTime)
{
    return guarded([&] { return timestamp::fromDateTime(dateTime).value_or(kPanekitRefusedToken); },
                   kPanekitRefusedToken);
}

KVT_EXPORT bool IsUpdateMode()
{
    return false;
}

KVT_EXPORT bool IsFactoryMode()
{
    return false;
}

KVT_EXPORT int msec2secA(std::uint32_t milliseconds, char* buffer, int size)
{
    return guarded([&] { return copyOut(timetext::msecToSeconds(milliseconds), buffer, size); },
                   copyOut({}, buffer, size));
}

KVT_EXPORT int samp2secA(std::uint32_t samples, char* buffer, int size)
{
    return guarded([&] { return copyOut(timetext::samplesToSeconds(samples), buffer, size); },
                   copyOut({}, buffer, size));
}

KVT_EXPORT int secA2msec(const char* text, bool* ok)
{
    if (ok)
        *ok = false;
    return guarded([&] { return timetext::secA2msec(textOf(text), ok); }, 0);
}

KVT_EXPORT int secA2samp(const char* text, bool* ok)
{
    if (ok)
        *ok = false;
    return guarded([&] { return timetext::secA2samp(textOf(text), ok); }, 0);
}

KVT_EXPORT int GetIniFile(char* buffer, int size)
{
    return guarded(
        [&] {
            const QString dataDir = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
            return copyOut((dataDir + QStringLiteral("/KVT515/TORVA.INI")).toStdString(), buffer, size);
        },
        copyOut({}, buffer, size));
}

KVT_EXPORT void RequestPoll(int n)
{
    requestMainForm(winmsg::WM_REQUEST_POLL, n);
}

KVT_EXPORT void RequestRead(int n)
{
    requestMainForm(winmsg::WM_REQUEST_READ, n);
}

KVT_EXPORT void StdDevAndMean(const double* values, int count, double* mean, double* stdDev)
{
    guarded([&] { stats::stdDevAndMean(values, count, mean, stdDev); });
}

KVT_EXPORT int GetDUTDescriptions(QStringList* list)
{
    return guarded([&] { return list ? measurement::typeDescriptions(*list) : 0; }, 0);
}

KVT_EXPORT int GetUnitDescriptions(signed char type, QStringList* list)
{
    return guarded([&] { return list ? measurement::unitDescriptions(type, *list) : 0; }, 0);
}

KVT_EXPORT const char* GetDUTDesc(unsigned char type)
{
    return measurement::typeName(type);
}

KVT_EXPORT const char* GetUnitsDesc(std::uint16_t typeAndUnit)
{
    return measurement::unitName(typeAndUnit & 0xFFu, typeAndUnit >> 8);
}

KVT_EXPORT double UnitConvert(signed char type, int fromUnit, int toUnit, float value)
{
    return measurement::convert(type, fromUnit, toUnit, static_cast<double>(value));
}

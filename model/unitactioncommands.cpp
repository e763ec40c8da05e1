#include "unitactioncommands.h"

#include "analyzer.h"
#include "communications.h"
#include "database.h"
#include "dialogservice.h"
#include "numbertext.h"
#include "toolkitdate.h"
#include "unitcommandsupport.h"

#include <QElapsedTimer>

using unitcommand::kSendError;
using unitcommand::status;

namespace {

constexpr double kMsPerDay = 86400000.0;

struct RunText {
    int pointId;
    const char* text;
};
// Only the first two streams' H2S, calibration, reference 1 and zero requests report a text.
constexpr RunText kRunTexts[] = {
    {analyzer::runRequestPoint(1, analyzer::H2S), "Normal 1 Submitted"},
    {analyzer::runRequestPoint(1, analyzer::Calibration), "Calibrate 1 Submitted"},
    {analyzer::runRequestPoint(1, analyzer::Reference1), "Reference 1 Submitted"},
    {analyzer::runRequestPoint(1, analyzer::Zero), "Zero 1 Submitted"},
    {analyzer::runRequestPoint(2, analyzer::H2S), "Normal 2 Submitted"},
    {analyzer::runRequestPoint(2, analyzer::Calibration), "Calibrate 2 Submitted"},
    {analyzer::runRequestPoint(2, analyzer::Reference1), "Reference 2 Submitted"},
    {analyzer::runRequestPoint(2, analyzer::Zero), "Zero 2 Submitted"},
};

}  // namespace

void UnitActionCommand::Execute()
{
    if (frame()->GetBool(framecomm::kLoggingOn))
        return;
    status(frame(), row_.startText);
    DataBase* db = DataBase::Instance();
    frame()->SetInt(framecomm::kLocalPBarMax, 1);
    const std::optional<int> pointId = PointId();
    try {
        int result = 30;
        if (pointId) {
            const int id = static_cast<std::uint16_t>(*pointId);
            // Marked first, so that the request value is taken even when the point was not read.
            if (row_.marksFresh)
                db->MarkFresh(id);
            db->SetPointTextChecked(id, Value());
            result = db->WritePoint(id);
        }
        // Only a request the unit accepted is reported as submitted; a refused one says so.
        if (result != 0) {
            DialogService::showMessage(row_.errorText);
        } else if (const char* text = SuccessText(*pointId)) {
            status(frame(), text);
        }
    } catch (const CommStatusError& e) {
        DialogService::showMessage(Communications::Instance()->GetErrorText(e.status));
    }
    status(frame(), "");
}

TapeAdvanceCommand::TapeAdvanceCommand()
        : UnitActionCommand(
              {"Tape Advance.", 331, true, "Error sending Tap Advance to unit.", "Tape Advance Submitted"})
{}

SetBypassCommand::SetBypassCommand()
        : UnitActionCommand({"Set Bypass.", 330, true, "Error sending bypass mode to unit.", "Bypass Submitted"})
{}

const char* SetBypassCommand::Value() const
{
    return frame()->GetBool(framecomm::kTbtnBypass) ? "True" : "False";
}

ResetLatchesCommand::ResetLatchesCommand()
        : UnitActionCommand(
              {"Reset Latches.", 329, true, "Error sending Reset Latches to unit.", "Reset Latche Submitted"})
{}

ZeroRefCommand::ZeroRefCommand() : UnitActionCommand({"Zero Reference.", 328, false, kSendError, "ZeroRef Submitted"})
{}

ReferenceCommand::ReferenceCommand() : UnitActionCommand({"Reference...", 327, false, kSendError, "Ref Submitted"}) {}

CalibrateCommand::CalibrateCommand() : UnitActionCommand({"Calibrate...", 0, true, kSendError, nullptr}) {}

std::optional<int> CalibrateCommand::PointId() const
{
    // Any other parameter would mark and write an arbitrary point of the unit: refused.
    const std::optional<int> id = numtext::tryStrToInt(GetParam());
    if (!id || !analyzer::isRunRequestPoint(*id))
        return std::nullopt;
    return id;
}

const char* CalibrateCommand::SuccessText(int pointId) const
{
    for (const auto& row : kRunTexts)
        if (row.pointId == pointId)
            return row.text;
    return nullptr;
}

// --- clock -------------------------------------------------------------------------------------

double SyncClockCommand::CorrectedMoment(double chosen, std::int64_t sinceFirstWriteMs, std::int64_t firstWriteMs)
{
    const auto delay = static_cast<std::int64_t>(static_cast<double>(firstWriteMs) * kDelayFactor);
    QDate date;
    QTime time;
    if (!toolkitdate::decode(chosen, date, time))
        return chosen;
    // Wall-clock arithmetic: the unit's clock knows no zone, so a daylight-saving change of this
    // machine must neither move the moment by an hour nor refuse one in the skipped hour.
    const QDateTime moment = QDateTime(date, time, Qt::UTC).addMSecs(sinceFirstWriteMs + delay);
    return toolkitdate::fromDateTime(moment.date(), moment.time());
}

int SyncClockCommand::DayOfWeek(double dateTime)
{
    const QDate date = toolkitdate::toQDate(dateTime);
    if (!date.isValid())
        return 0;
    return date.dayOfWeek() % 7 + 1;  // Qt counts from Monday = 1 to Sunday = 7
}

void SyncClockCommand::Execute()
{
    if (frame()->GetBool(framecomm::kLoggingOn))
        return;
    frame()->SetInt(framecomm::kLocalPBarMax, 6);
    status(frame(), "SyncClock...");
    DataBase* db = DataBase::Instance();
    const auto fail = [this] {
        DialogService::showMessage(kSendError);
        status(frame(), "");
    };
    try {
        // The first write measures how long a write takes; only the clock point is sent, never
        // the other edits still pending.
        QElapsedTimer write;
        write.start();
        db->SetPointTextChecked(kTimePoint, std::to_string(token_));
        if (db->WritePoint(kTimePoint) != 0)
            return fail();
        const std::int64_t writeMs = write.elapsed();
        QElapsedTimer since;
        since.start();

        const double chosen = frame()->GetDouble(framecomm::kTimestampTokenToDate, static_cast<int>(token_));
        if (chosen == 0.0)
            return fail();  // the token names no moment
        double corrected = CorrectedMoment(chosen, since.elapsed(), writeMs);
        const int token = frame()->GetInt(framecomm::kDateToTimestampToken, &corrected);
        if (token == -1)
            return fail();  // beyond what the unit's clock can hold

        db->SetPointTextChecked(kTimePoint, std::to_string(static_cast<std::uint32_t>(token)));
        const int result = db->WritePoint(kTimePoint);
        db->ReadPoint(kDayOfWeekPoint);
        db->SetPointTextChecked(kDayOfWeekPoint, std::to_string(DayOfWeek(corrected)));
        const int dayResult = db->WritePoint(kDayOfWeekPoint);
        if (result != 0 || dayResult != 0)
            return fail();
        status(frame(), "SyncClock Submitted");
    } catch (const CommStatusError& e) {
        // The first write may already have set the unit's clock; the user learns the rest did not.
        if (e.status != commstatus::kCancelled)
            DialogService::showMessage(Communications::Instance()->GetErrorText(e.status));
    }
    status(frame(), "");
}

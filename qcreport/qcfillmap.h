#pragma once

// Which point fills which control of the QC form, and how. The tables are data; FillQCForm walks
// them and finds each control by its name on the form.

#include "analyzer.h"
#include "qcformfill.h"

#include <QString>
#include <QStringList>

#include <array>
#include <vector>

class QWidget;

namespace qcreport {

enum class FillRule {
    Text,           // the edit shows the point text
    Cell,           // column 1 of the grid row shows the text; the cell stays editable
    HexCell,        // the text as eight upper-case hex digits; the cell is read-only
    TrueBox,        // ticked exactly when the text is "True"
    AnalysisType,   // "Timed" when the text is "True", else "Peak Detect"
    RelayDigit,     // the highest relay of an action mask
    SolenoidDigit,  // the highest solenoid of an action mask
    FourDecimals,   // the text as a number with four decimals
};

struct FillRow {
    const char* control;  // a stream row's name holds '%' where the stream digit goes
    int row;              // grid row; -1 for other controls
    FillRule rule;
};

struct GlobalFillRow {
    FillRow target;
    int pointId;
};

struct StreamFillRow {
    FillRow target;
    std::array<int, analyzer::kStreams> pointIds;  // streams 1 to 4
};

// The six run types' switching masks of a stream, in the order of the switching tabs (the streams
// page's order, analyzer::kStreamsPageOrder).
struct SwitchingRow {
    const char* run;  // as the box names spell it: H2S, TT, Cal, Ref1, Ref2, Zero
    const char* caption;
    std::array<int, analyzer::kStreams> pointIds;
};

constexpr int kStreamsPointId = 20;
constexpr int kStainWidthPointId = 516;
constexpr int kTapeUnitsPointId = 85;

const std::vector<GlobalFillRow>& GlobalFillRows();
const std::vector<StreamFillRow>& StreamFillRows();
const std::vector<SwitchingRow>& SwitchingRows();

// The control of a stream row for stream 1 to 4.
QString StreamControlName(const char* pattern, int stream);
// A switching box: relay box 1-6 or solenoid box 1-8 of a run on stream 1-4.
QString SwitchingBoxName(const char* run, int stream, bool relay, int number);
// The capstan diameter from the stain width per pulse and the tape measurement unit
// (0 inches, else millimetres); QCConversionError on a text that is not a number.
QString CapstanDiameterText(const std::string& stainWidth, const std::string& tapeUnits);

struct FillOutcome {
    int streamsShown = -1;  // 0 to 3 when the streams point gave a usable count, else -1
    QStringList failures;   // one line per control that could not be filled
};

// Fills the form's controls from the point texts. A control whose text does not convert is
// left blank and named in the failures; the fill goes on with the rest. Stream tabs 2 to 4 of
// PageControlStreams are shown or hidden by the number of streams.
FillOutcome FillQCForm(QWidget* form, const PointTextReader& pointText, const QString& guiVersion);

}  // namespace qcreport

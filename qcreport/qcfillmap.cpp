#include "qcfillmap.h"

#include "analyzer.h"
#include "qcreportframe.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTabWidget>
#include <QTableWidget>

#include <clocale>
#include <cstdlib>

namespace qcreport {

namespace {

using R = FillRule;

void clearControl(QWidget* control, int row)
{
    if (auto* edit = qobject_cast<QLineEdit*>(control))
        edit->clear();
    else if (auto* box = qobject_cast<QCheckBox*>(control))
        box->setChecked(false);
    else if (auto* grid = qobject_cast<QTableWidget*>(control)) {
        if (QTableWidgetItem* cell = grid->item(row, 1))
            cell->setText(QString());
    }
}

void setCell(QTableWidget* grid, int row, const QString& text)
{
    if (grid->rowCount() <= row)
        grid->setRowCount(row + 1);
    QTableWidgetItem* cell = grid->item(row, 1);
    if (!cell) {
        cell = new QTableWidgetItem;
        grid->setItem(row, 1, cell);
    }
    cell->setText(text);
}

// One control by one rule; throws QCConversionError when the text does not convert.
void apply(QWidget* control, const FillRow& target, const PointTextReader& pointText, int pointId)
{
    const std::string text = pointText(pointId);
    switch (target.rule) {
    case R::Text:
        if (auto* edit = qobject_cast<QLineEdit*>(control))
            edit->setText(AnsiToWide(text));
        return;
    case R::FourDecimals:
        if (auto* edit = qobject_cast<QLineEdit*>(control))
            edit->setText(text.empty() ? QString() : QString::number(numtext::StrToFloat(text), 'f', 4));
        return;
    case R::Cell:
    case R::HexCell:
        if (auto* grid = qobject_cast<QTableWidget*>(control)) {
            // An empty text clears the cell: another unit's value must not stay on the form.
            if (text.empty())
                clearControl(grid, target.row);
            else
                SetGridCellFromPoint(grid, pointText, pointId, target.row, target.rule == R::HexCell,
                                     target.rule == R::HexCell);
        }
        return;
    case R::TrueBox:
        if (auto* box = qobject_cast<QCheckBox*>(control))
            box->setChecked(text == "True");
        return;
    case R::AnalysisType:
        if (auto* combo = qobject_cast<QComboBox*>(control))
            combo->setCurrentIndex(text == "True" ? 1 : 0);
        return;
    case R::RelayDigit:
        if (auto* edit = qobject_cast<QLineEdit*>(control))
            edit->setText(text.empty() ? QString() : QString::fromStdString(RelayMaskDigit(text)));
        return;
    case R::SolenoidDigit:
        if (auto* edit = qobject_cast<QLineEdit*>(control))
            edit->setText(text.empty() ? QString() : QString::fromStdString(SolenoidMaskDigit(text)));
        return;
    }
}

class Filler {
public:
    Filler(QWidget* form, const PointTextReader& pointText) : form_(form), pointText_(pointText) {}

    void fill(const QString& name, const FillRow& target, int pointId)
    {
        QWidget* control = form_->findChild<QWidget*>(name);
        if (!control) {
            failures.append(QStringLiteral("%1: no such control").arg(name));
            return;
        }
        try {
            apply(control, target, pointText_, pointId);
        } catch (const std::exception& e) {
            clearControl(control, target.row);
            failures.append(describe(name, target.row, pointId, e.what()));
        }
    }

    void fillSwitching(const SwitchingRow& run, int stream)
    {
        const int pointId = run.pointIds[std::size_t(stream - 1)];
        const std::string text = pointText_(pointId);
        int mask = 0;
        bool ok = true;
        try {
            mask = text.empty() ? 0 : numtext::StrToInt(text);
        } catch (const std::exception& e) {
            ok = false;
            failures.append(describe(SwitchingBoxName(run.run, stream, true, 1), -1, pointId, e.what()));
        }
        for (int n = 1; n <= analyzer::kRelays + analyzer::kSolenoids; ++n) {
            const bool relay = n <= analyzer::kRelays;
            const int number = relay ? n : n - analyzer::kRelays;
            const int bit = 1 << analyzer::actionBit(relay, number);
            if (auto* box = form_->findChild<QCheckBox*>(SwitchingBoxName(run.run, stream, relay, number)))
                box->setChecked(ok && (mask & bit) != 0);
        }
    }

    QStringList failures;

private:
    static QString describe(const QString& name, int row, int pointId, const char* what)
    {
        const QString where = row >= 0 ? QStringLiteral("%1 row %2").arg(name).arg(row) : name;
        return QStringLiteral("%1 (point %2): %3").arg(where).arg(pointId).arg(QString::fromLocal8Bit(what));
    }

    QWidget* form_;
    const PointTextReader& pointText_;
};

}  // namespace

const std::vector<GlobalFillRow>& GlobalFillRows()
{
    static const std::vector<GlobalFillRow> rows = {
        {{"aGridVersions", 0, R::Cell}, 0},       {{"aGridVersions", 2, R::HexCell}, 500},
        {{"aGridVersions", 3, R::Cell}, 1},       {{"aGridVersions", 5, R::HexCell}, 507},
        {{"aGridVersions", 6, R::HexCell}, 328},  {{"gridGlobalSetting", 3, R::Cell}, 517},
        {{"gridGlobalSetting", 8, R::Cell}, 291}, {{"gridGlobalSetting", 4, R::Cell}, 401},
        {{"txtAI3", -1, R::FourDecimals}, 1546},  {{"txtAODescription1", -1, R::Text}, 1197},
        {{"txtAORange1", -1, R::Text}, 1245},     {{"txtAODescription2", -1, R::Text}, 1198},
        {{"txtAORange2", -1, R::Text}, 1248},     {{"txtAODescription3", -1, R::Text}, 1199},
        {{"txtAORange3", -1, R::Text}, 1251},     {{"txtAODescription4", -1, R::Text}, 1200},
        {{"txtAORange4", -1, R::Text}, 1254},     {{"txtAODescription5", -1, R::Text}, 1201},
        {{"txtAORange5", -1, R::Text}, 1257},     {{"txtAODescription6", -1, R::Text}, 1202},
        {{"txtAORange6", -1, R::Text}, 1260},     {{"gridOutput", 0, R::Cell}, 255},
        {{"gridOutput", 1, R::Cell}, 257},        {{"gridOutput", 2, R::Cell}, 259},
        {{"gridOutput", 3, R::Cell}, 261},        {{"gridOutput", 4, R::Cell}, 963},
        {{"gridOutput", 5, R::Cell}, 965},        {{"gridOutput", 6, R::Cell}, 967},
        {{"gridOutput", 7, R::Cell}, 969},        {{"gridOutput", 8, R::Cell}, 247},
        {{"gridOutput", 9, R::Cell}, 249},        {{"gridOutput", 10, R::Cell}, 251},
        {{"gridOutput", 11, R::Cell}, 253},       {{"gridOutput", 12, R::Cell}, 955},
        {{"gridOutput", 13, R::Cell}, 957},
    };
    return rows;
}

const std::vector<StreamFillRow>& StreamFillRows()
{
    static const std::vector<StreamFillRow> rows = {
        {{"cmbAnalysisType%", -1, R::AnalysisType}, {23, 136, 658, 808}},
        {{"chkAOOverride%_1", -1, R::TrueBox}, {48, 161, 671, 821}},
        {{"chkAOOverride%_2", -1, R::TrueBox}, {52, 165, 676, 826}},
        {{"gridStreamTSC%", 0, R::Cell}, {25, 138, 665, 815}},
        {{"gridStreamTSC%", 1, R::Cell}, {26, 139, 666, 816}},
        {{"gridStreamTSC%", 2, R::Cell}, {24, 137, 667, 817}},
        {{"gridStreamTSC%", 3, R::Cell}, {610, 635, 695, 845}},
        {{"gridStreamTSC%", 4, R::Cell}, {403, 525, 720, 870}},
        {{"gridStreamTSC%", 5, R::Cell}, {406, 528, 750, 900}},
        {{"gridStreamTSC%", 6, R::Cell}, {1268, 1294, 1320, 1346}},
        {{"gridStreamTSC%", 7, R::Cell}, {522, 531, 780, 930}},
        {{"chkH2SHighAlarm%", -1, R::TrueBox}, {59, 172, 684, 834}},
        {{"chkH2SDev%", -1, R::TrueBox}, {56, 169, 681, 831}},
        {{"chkH2SHighHightAlarm%", -1, R::TrueBox}, {381, 383, 659, 809}},
        {{"chkTSHighAlarm%", -1, R::TrueBox}, {627, 652, 712, 862}},
        {{"chkTSDev%", -1, R::TrueBox}, {624, 649, 709, 859}},
        {{"chkTSHighHighAlarm%", -1, R::TrueBox}, {1557, 1600, 1603, 1606}},
        {{"txtH2SHighHighAlarmDuration%", -1, R::Text}, {1648, 1656, 1664, 1672}},
        {{"txtTSHighHighAlarmDuration%", -1, R::Text}, {1652, 1660, 1668, 1676}},
        {{"txtRelay%_1", -1, R::RelayDigit}, {61, 174, 686, 836}},
        {{"txtSolenoid%_1", -1, R::SolenoidDigit}, {61, 174, 686, 836}},
        {{"txtRelay%_2", -1, R::RelayDigit}, {58, 171, 683, 833}},
        {{"txtSolenoid%_2", -1, R::SolenoidDigit}, {58, 171, 683, 833}},
        {{"txtRelay%_3", -1, R::RelayDigit}, {502, 503, 661, 811}},
        {{"txtSolenoid%_3", -1, R::SolenoidDigit}, {502, 503, 661, 811}},
        {{"txtRelay%_4", -1, R::RelayDigit}, {629, 654, 714, 864}},
        {{"txtSolenoid%_4", -1, R::SolenoidDigit}, {629, 654, 714, 864}},
        {{"txtRelay%_5", -1, R::RelayDigit}, {626, 651, 711, 861}},
        {{"txtSolenoid%_5", -1, R::SolenoidDigit}, {626, 651, 711, 861}},
        {{"txtRelay%_6", -1, R::RelayDigit}, {1559, 1602, 1605, 1608}},
        {{"txtSolenoid%_6", -1, R::SolenoidDigit}, {1559, 1602, 1605, 1608}},
        {{"gridAlarmSetpoint%", 0, R::Cell}, {60, 173, 685, 835}},
        {{"gridAlarmSetpoint%", 1, R::Cell}, {57, 170, 682, 832}},
        {{"gridAlarmSetpoint%", 2, R::Cell}, {382, 384, 660, 810}},
        {{"gridAlarmSetpoint%", 3, R::Cell}, {628, 653, 713, 863}},
        {{"gridAlarmSetpoint%", 4, R::Cell}, {625, 650, 710, 860}},
        {{"gridAlarmSetpoint%", 5, R::Cell}, {1558, 1601, 1604, 1607}},
    };
    return rows;
}

const std::vector<SwitchingRow>& SwitchingRows()
{
    static const std::vector<SwitchingRow> rows = {
        {"H2S", "H2S", {47, 160, 670, 820}},
        {"TT", "Total Sulphur", {613, 638, 698, 848}},
        {"Cal", "Calibration ", {70, 183, 725, 875}},
        {"Ref1", "Reference 1", {93, 206, 755, 905}},
        {"Ref2", "Reference 2", {1273, 1299, 1325, 1351}},
        {"Zero", "Zero", {116, 229, 785, 935}},
    };
    return rows;
}

QString StreamControlName(const char* pattern, int stream)
{
    return QString::fromLatin1(pattern).replace(QLatin1Char('%'), QString::number(stream));
}

QString SwitchingBoxName(const char* run, int stream, bool relay, int number)
{
    QString runName = QString::fromLatin1(run);
    // The total sulphur solenoid boxes of streams 2 to 4 were named TS.
    if (!relay && stream > 1 && runName == QLatin1String("TT"))
        runName = QStringLiteral("TS");
    return QStringLiteral("ck%1%2Switching%3%4")
        .arg(runName, stream > 1 ? QString::number(stream) : QString(), relay ? "R" : "S")
        .arg(number);
}

QString CapstanDiameterText(const std::string& stainWidth, const std::string& tapeUnits)
{
    const double w = numtext::StrToFloat(stainWidth);
    const int u = numtext::StrToInt(tapeUnits);
    constexpr double kOneOverPi = 0.3183098916135720393;
    if (u == 0)
        return QString::number(w * 256 * 12 * kOneOverPi, 'f', 4) + QStringLiteral(" (inches)");
    return QString::number(w * 256 * 1000 * kOneOverPi, 'f', 4) + QStringLiteral(" (mm)");
}

FillOutcome FillQCForm(QWidget* form, const PointTextReader& pointText, const QString& guiVersion)
{
    FillOutcome outcome;
    Filler filler(form, pointText);
    const auto& global = GlobalFillRows();
    for (std::size_t i = 0; i < global.size(); ++i) {
        const auto& row = global[i];
        filler.fill(QString::fromLatin1(row.target.control), row.target, row.pointId);
        if (i == 0) {
            if (auto* versions = form->findChild<QTableWidget*>("aGridVersions"))
                setCell(versions, 1, guiVersion);
        }
        if (row.pointId == 517) {
            if (auto* settings = form->findChild<QTableWidget*>("gridGlobalSetting")) {
                try {
                    setCell(settings, 2,
                            CapstanDiameterText(pointText(kStainWidthPointId), pointText(kTapeUnitsPointId)));
                } catch (const std::exception& e) {
                    setCell(settings, 2, QString());
                    filler.failures.append(QStringLiteral("gridGlobalSetting row 2 (points %1, %2): %3")
                                               .arg(kStainWidthPointId)
                                               .arg(kTapeUnitsPointId)
                                               .arg(QString::fromLocal8Bit(e.what())));
                }
            }
        }
    }

    int n = -1;
    try {
        n = numtext::StrToInt(pointText(kStreamsPointId));
    } catch (const std::exception& e) {
        filler.failures.append(QStringLiteral("PageControlStreams (point %1): %2")
                                   .arg(kStreamsPointId)
                                   .arg(QString::fromLocal8Bit(e.what())));
    }
    if (n >= 0 && n <= 3) {
        outcome.streamsShown = n;
        if (auto* tabs = form->findChild<QTabWidget*>("PageControlStreams"))
            for (int tab = 1; tab < tabs->count() && tab < analyzer::kStreams; ++tab)
                tabs->setTabVisible(tab, tab <= n);
    }
    // Stream 1 always; the others as far as the unit has them (all four for a count above 3,
    // none beyond stream 1 for a count that did not convert).
    const int lastStream = n < 0 ? 1 : std::min(n + 1, analyzer::kStreams);
    for (int stream = 1; stream <= lastStream; ++stream) {
        for (const auto& row : StreamFillRows())
            filler.fill(StreamControlName(row.target.control, stream), row.target,
                        row.pointIds[std::size_t(stream - 1)]);
        for (const auto& run : SwitchingRows())
            filler.fillSwitching(run, stream);
    }
    outcome.failures = filler.failures;
    return outcome;
}

}  // namespace qcreport

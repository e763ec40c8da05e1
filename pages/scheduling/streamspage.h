#pragma once

#include "pageframe.h"
#include "streambindings.h"

#include <QTimer>
#include <array>

class AnalogOutputCollection;
class QGroupBox;
class QTabWidget;
class TfraStream;
class TQAdvToolButton;
class TQCheckBox;
class TQComboBox;
class TQLabel;
class TQLabeledEdit;

// The Streams tab: everything the unit keeps for each of its up to four streams and their six
// run types, bound box by box from the page's table (streambindings); a run of any type can be
// requested at once, and a small calculator proposes a new gain factor.
class TfraAnalyzerStreams : public TPageFrame {
    Q_OBJECT
public:
    static const PageDecl kDecl;

    explicit TfraAnalyzerStreams(const PageServices& services, QWidget* parent = nullptr);

    // The page stays enabled in both modes; read-only mode switches the stream configuration off
    // (EnableEditing) after the page itself is enabled.
    void FollowReadOnly(bool readOnly) override;

    void RegisterPoints() override;
    ScanIds ScanList() const override;

    QTabWidget* PageControlStreams() const { return streamTabs_; }
    // fraStream1 to fraStream4.
    const std::array<TfraStream*, analyzer::kStreams>& StreamFrames() const { return streamFrames_; }
    bool Loading() const { return FirstEntry(); }

public slots:
    // The read-only switch: false disables every edit of the page and the run requests.
    void EnableEditing(bool enable);

protected:
    void hideEvent(QHideEvent* event) override;

private:
    QWidget* BuildStreamTab(int stream);
    QGroupBox* BuildCalculator();
    void FillAOFunctions();
    void btnRequestClick(int stream, int runType);
    void cbAOMgrFunctionDBPointValueChanged(TQComboBox* combo, const QString& value, bool& showValue);
    void lblStream2DBPointValueChanged(const QString& value, bool& showValue);
    void btnTestClick();
    void edtCalGasChange();

    // The analog-output choices the function boxes offer.
    const AnalogOutputCollection& analogOutputs_;
    QTabWidget* streamTabs_ = nullptr;
    std::array<TfraStream*, analyzer::kStreams> streamFrames_{};
    // Per stream: Cal. Correction, Zero Correction and Timed Analysis.
    std::array<std::array<TQCheckBox*, 3>, analyzer::kStreams> streamSwitches_{};
    TQLabel* lblStream2_ = nullptr;
    TQAdvToolButton* btnTest_ = nullptr;
    TQLabeledEdit* edtCalGas_ = nullptr;
    TQLabeledEdit* edtAnaReading_ = nullptr;
    TQLabeledEdit* edtCurrGainFactor_ = nullptr;
    TQLabeledEdit* edtNewGainFactor_ = nullptr;
    // Paints the tabs again once the entry's read has ended.
    QTimer readEnd_;
};

#pragma once

#include "analyzer.h"
#include "pageframe.h"

#include <array>
#include <memory>

class QFrame;
class TQImage;

namespace Ui {
class TfrmAlarm;
}

// The Alarms tab: a read-only board of lights, one for each alarm state the unit reports, with as
// many stream panels as the unit has streams. It writes nothing; its points are polled while it
// is shown.
class TfrmAlarm : public TPageFrame {
    Q_OBJECT
public:
    static const PageDecl kDecl;

    explicit TfrmAlarm(const PageServices& services, QWidget* parent = nullptr);
    ~TfrmAlarm() override;

    // Read-only mode leaves the page as it is.
    void FollowReadOnly(bool) override {}

    ScanIds ScanList() const override;

    // Stream1Pan to Stream4Pan.
    QFrame* StreamPanel(int index) const { return panels_[static_cast<std::size_t>(index)]; }

private:
    void BuildUnitLights();
    void BuildStreamPanels();
    void BuildAnalogInputLights();
    TQImage* MakeLight(QWidget* parent, const char* name, int point);
    void LightDBPointValueChanged(QWidget* sender);
    void SystemAlarmDBPointValueChanged(QWidget* sender);
    void lblStream4DBPointValueChanged(const QString& value, bool& showValue);

    std::unique_ptr<Ui::TfrmAlarm> ui_;
    std::array<QFrame*, analyzer::kStreams> panels_{};
};

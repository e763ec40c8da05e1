#pragma once

#include <QDialog>
#include <cstdint>
#include <functional>
#include <optional>

class QDateEdit;
class QLabel;
class QTimeEdit;
class TQBitBtn;
class TQLabel;
class TQRadioGroup;

// "Set Analyzer Date & Time": the moment the unit's clock is set to, the PC's time or a date and
// time entered by hand, as the unit's clock token. The main window reads Token (also the
// property "TimestampToken") after the dialog was accepted; any other result sends nothing.
class TTimeSyncDlg : public QDialog {
    Q_OBJECT
    Q_PROPERTY(uint TimestampToken READ TimestampToken)
public:
    // The token of a toolkit date-time; nothing when the token cannot hold it.
    using Converter = std::function<std::optional<std::uint32_t>(double dateTime)>;
    // The current local date-time as a toolkit value.
    using Clock = std::function<double()>;

    // The converter is its maker's (the main window's, in the program); without a clock the PC's
    // is used.
    TTimeSyncDlg(QWidget* parent, Converter converter, Clock clock = {});

    std::uint32_t Token = 0;
    uint TimestampToken() const { return Token; }

    // The manual date is held to the years the token can hold.
    static constexpr int kFirstYear = 2000;
    static constexpr int kLastYear = 2063;

    void btnOkClick();
    void btnCancelClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();
    void rgSyncOptionClick();
    void PickerChange();
    double ManualMoment() const;
    void ShowToken();

    Converter converter_;
    Clock clock_;
    TQRadioGroup* rgSyncOption_;
    QDateEdit* dtDate_;
    QTimeEdit* dtTime_;
    TQLabel* labToken_;
    TQBitBtn* btnOk_;
    TQBitBtn* btnCancel_;
};

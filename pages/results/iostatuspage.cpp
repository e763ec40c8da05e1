#include "iostatuspage.h"

#include "dbbitimage.h"
#include "dbcontrols.h"
#include "iostatusformat.h"
#include "quietupdate.h"
#include "scanorder.h"
#include "ui_iostatuspage.h"

#include <QRegularExpression>

namespace {

void showSmall(QLabel* lamp, int index)
{
    quiet::setAlarmLamp(lamp, index);
}
void showLarge(QLabel* lamp, int index)
{
    quiet::setSystemLamp(lamp, index);
}

// The lamps of the bit-watching kind, and those of the plain kind.
void bitLampChanged(QWidget* sender)
{
    if (auto* image = qobject_cast<QTImage16*>(sender))
        showSmall(image, iostatus::lampIndex(image->IsOn()));
}

TQImage* plainImage(QWidget* sender)
{
    if (qobject_cast<QTImage16*>(sender))
        return nullptr;
    return qobject_cast<TQImage*>(sender);
}

void plainLampChanged(QWidget* sender)
{
    if (TQImage* image = plainImage(sender))
        showSmall(image, iostatus::lampIndex(image->IsOn()));
}

}  // namespace

const PageDecl TfrmIOStatus::kDecl = {
    .frameName = "frmIOStatus",
    .sheetName = "TabSheetIOStatus",
    .caption = "Status ",
    .tab = 1,
    .scan = {.number = 15, .useAlternate = true},
    .entry =
        {.setsMode = true, .enterRoutine = true, .read = "ExpressRead", .polls = true, .closing = EntryClose::Busy},
    .splash = "Loading Sentrel515 Desktop...Status",
};

TfrmIOStatus::TfrmIOStatus(const PageServices& services, QWidget* parent)
        : TPageFrame(kDecl, services, parent), ui_(std::make_unique<Ui::IOStatusPage>())
{
    ui_->setupUi(this);
    setObjectName("frmIOStatus");

    for (auto* edit : findChildren<TQLabeledEdit*>(QRegularExpression("^edtAO\\dDesc$")))
        edit->OnDBPointValueChanged = [edit](QWidget*, const QString& v, bool& show) {
            quiet::setText(edit->Edit(), iostatus::analogText(v));
            show = false;
        };
    for (auto* edit : findChildren<TQEdit*>(QRegularExpression("^edAIR\\d$")))
        edit->OnDBPointValueChanged = [edit](QWidget*, const QString& v, bool& show) {
            quiet::setText(edit, iostatus::analogText(v));
            show = false;
        };

    const QRegularExpression bitLamps("^(R\\dState|imgS\\d|Lat1)$");
    const QRegularExpression plainLamps("^(Lat([2-6]|9|1[0-6])|D\\dState)$");
    for (auto* image : findChildren<TQImage*>()) {
        const QString name = image->objectName();
        if (bitLamps.match(name).hasMatch()) {
            image->OnDBPointValueChanged = [](QWidget* sender, const QString&, bool&) { bitLampChanged(sender); };
            showSmall(image, iostatus::kLampGrey);
        } else if (plainLamps.match(name).hasMatch()) {
            image->OnDBPointValueChanged = [](QWidget* sender, const QString&, bool&) { plainLampChanged(sender); };
            showSmall(image, iostatus::kLampGrey);
        }
    }
    for (TQImage* image : {ui_->SystemAlarm, ui_->QImage1}) {
        image->OnDBPointValueChanged = [](QWidget* sender, const QString&, bool&) {
            if (TQImage* alarm = plainImage(sender))
                showLarge(alarm, iostatus::systemAlarmIndex(alarm->IsOn()));
        };
    }
    showLarge(ui_->QImage1, iostatus::kLampGreen);
    struct Power {
        TQImage* lamp;
        QLabel* label;
        const char* word;
    };
    for (const Power& p :
         {Power{ui_->ACPowerStatus, ui_->labACPower, "AC"}, Power{ui_->DCPowerStatus, ui_->labDCPower, "DC"}}) {
        showSmall(p.lamp, iostatus::kLampGrey);
        p.lamp->OnDBPointValueChanged = [p](QWidget* sender, const QString&, bool&) {
            TQImage* lamp = plainImage(sender);
            if (!lamp)
                return;
            const auto shown = iostatus::powerLamp(QString::fromLatin1(p.word), lamp->IsOn());
            showSmall(lamp, shown.index);
            quiet::setText(p.label, shown.text);
        };
    }
}

TfrmIOStatus::~TfrmIOStatus() = default;

const QStringList& TfrmIOStatus::ScanOrder()
{
    static const QStringList order = [] {
        QStringList o{"streamNo", "SystemAlarm"};
        auto range = [&o](const char* pattern, int from, int to) {
            for (int n = from; n <= to; ++n)
                o << QString::fromLatin1(pattern).arg(n);
        };
        range("labAO%1", 1, 6);
        range("edtAO%1Desc", 1, 6);
        range("edAIR%1", 1, 4);
        range("lblRelay%1", 1, 6);
        o << "R1State";  // one point for all fourteen bit lamps
        range("Lat%1", 1, 6);
        range("Lat%1", 9, 16);
        range("DI%1Desc", 1, 8);
        range("D%1State", 1, 8);
        range("Sol%1Desc", 1, 8);
        range("labAIDesc%1", 1, 4);
        range("AIUnit%1", 1, 4);
        o << "DCPowerStatus"
          << "ACPowerStatus";
        return o;
    }();
    return order;
}

TPageFrame::ScanIds TfrmIOStatus::ScanList() const
{
    return controlsInOrder(this, ScanOrder());
}

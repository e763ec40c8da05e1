#include "shareddialogs.h"

#include "dialogservice.h"
#include "floatformat.h"
#include "numbertext.h"
#include "securitychk.h"

#include <QDateEdit>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QDoubleValidator>
#include <QFileInfo>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

namespace {
QDialogButtonBox* okCancel(QDialog* dialog)
{
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    buttons->button(QDialogButtonBox::Ok)->setText("OK");
    buttons->button(QDialogButtonBox::Cancel)->setText("Cancel");
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}
}  // namespace

TfrmSplash::TfrmSplash(QWidget* parent) : QDialog(parent)
{
    setObjectName("frmSplash");
    setWindowTitle("Sentrel515 Analyzer Graphical User Interface");
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint);
    setFixedSize(445, 323);
    auto* layout = new QVBoxLayout(this);
    auto* picture = new QLabel("Sentrel515", this);
    picture->setObjectName("Image1");
    picture->setAlignment(Qt::AlignCenter);
    QFont f = picture->font();
    f.setPointSize(28);
    f.setBold(true);
    picture->setFont(f);
    bar_ = new QProgressBar(this);
    bar_->setObjectName("ProgressBar1");
    bar_->setRange(0, 20);
    bar_->setValue(0);
    bar_->setTextVisible(false);
    label_ = new QLabel("Loading Sentrel515 Desktop...", this);
    label_->setObjectName("Label1");
    // The longest step ("...Initialize COMM. It may take a few seconds.") is wider than the
    // window: it wraps onto a second line, for which room is kept from the start.
    label_->setWordWrap(true);
    label_->setMinimumHeight(2 * label_->fontMetrics().lineSpacing() + 4);
    label_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    layout->addWidget(picture, 1);
    layout->addWidget(bar_);
    layout->addWidget(label_);
}

void TfrmSplash::Step(const QString& text)
{
    bar_->setValue(std::min(bar_->maximum(), bar_->value() + 1));
    if (!text.isEmpty())
        label_->setText(text);
    repaint();
}

TAboutForm::TAboutForm(QWidget* parent) : QDialog(parent)
{
    setObjectName("AboutForm");
    setWindowTitle("About");
    auto* layout = new QFormLayout(this);
    auto* version = new QLabel("v1.09a", this);
    version->setObjectName("txtVer");
    auto* release = new QLabel("Nov.13,2019", this);
    release->setObjectName("ReleaseTime");
    layout->addRow(new QLabel("Sentrel515 Analyzer Graphical User Interface ", this), version);
    layout->addRow(new QLabel("Release ID:", this), release);
    auto* ok = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    ok->button(QDialogButtonBox::Ok)->setText("OK");
    connect(ok, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addRow(ok);
}

TfrmDateRangeDlg::TfrmDateRangeDlg(QWidget* parent) : QDialog(parent)
{
    setObjectName("frmDateRangeDlg");
    setWindowTitle("Select Date Range");
    auto* layout = new QVBoxLayout(this);
    date1_ = new QDateEdit(QDate::currentDate(), this);
    date1_->setObjectName("DateTime1");
    date2_ = new QDateEdit(QDate::currentDate(), this);
    date2_->setObjectName("DateTime2");
    for (QDateEdit* d : {date1_, date2_}) {
        d->setCalendarPopup(true);
        d->setDisplayFormat(QLocale::system().dateFormat(QLocale::LongFormat));
        layout->addWidget(d);
    }
    layout->addWidget(okCancel(this));
}

QDate TfrmDateRangeDlg::Start() const
{
    return std::min(date1_->date(), date2_->date());
}
QDate TfrmDateRangeDlg::End() const
{
    return std::max(date1_->date(), date2_->date());
}

TfrmScaleDlg::TfrmScaleDlg(QWidget* parent) : QDialog(parent)
{
    setObjectName("frmScaleDlg");
    setWindowTitle("Set Scale for Y-axis");
    auto* layout = new QFormLayout(this);
    min_ = new QLineEdit("0", this);
    min_->setObjectName("ledMinY");
    max_ = new QLineEdit("100", this);
    max_->setObjectName("ledMaxY");
    for (QLineEdit* e : {min_, max_}) {
        auto* validator = new QDoubleValidator(e);
        validator->setLocale(QLocale::c());
        e->setValidator(validator);
    }
    layout->addRow("Minimum:", min_);
    layout->addRow("Maximum:", max_);
    layout->addRow(okCancel(this));
}

void TfrmScaleDlg::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    min_->setFocus();
}

bool TfrmScaleDlg::Range(double& minimum, double& maximum) const
{
    const std::optional<double> low = numtext::tryStrToFloat(min_->text());
    const std::optional<double> high = numtext::tryStrToFloat(max_->text());
    minimum = low.value_or(0);
    maximum = high.value_or(0);
    return low && high;
}

namespace helpdocs {
bool OpenDocument(const QString& fileName)
{
    const QString path = SecurityChk::Instance()->DataFilePath(fileName);
    if (!QFileInfo::exists(path)) {
        DialogService::showMessage(QStringLiteral("The document \"%1\" was not found.").arg(path));
        return false;
    }
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}
}  // namespace helpdocs

void ShowSuspendWarning()
{
    DialogService::ask(QMessageBox::NoIcon, "Attention",
                       "Sentrel515 found power suspended, click OK button to continue.\n If the communication has "
                       "problem, please recycle the communication port.",
                       QMessageBox::Ok);
}

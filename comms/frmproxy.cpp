#include "frmproxy.h"

#include "numbertext.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>

namespace {
QLineEdit* edit(const char* name, QWidget* parent)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(QLatin1String(name));
    return e;
}
}  // namespace

TfrmProxy::TfrmProxy(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("frmProxy"));
    setWindowTitle(QStringLiteral("Proxy Settings"));
    auto* form = new QFormLayout(this);
    form->setSizeConstraint(QLayout::SetFixedSize);
    ledAddress = edit("ledAddress", this);
    form->addRow(QStringLiteral("Address"), ledAddress);
    ledPort = edit("ledPort", this);
    ledPort->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d*")), ledPort));
    form->addRow(QStringLiteral("Port"), ledPort);
    ledUsername = edit("ledUsername", this);
    form->addRow(QStringLiteral("Username"), ledUsername);
    ledPW = edit("ledPW", this);
    ledPW->setEchoMode(QLineEdit::Password);
    form->addRow(QStringLiteral("Password"), ledPW);
    cbSocksVer = new QComboBox(this);
    cbSocksVer->setObjectName(QStringLiteral("cbSocksVer"));
    cbSocksVer->addItems({QStringLiteral("Socks4"), QStringLiteral("Socks4a"), QStringLiteral("Socks5")});
    cbSocksVer->setCurrentIndex(0);
    form->addRow(QStringLiteral("Socks Version"), cbSocksVer);
    auto* buttons = new QHBoxLayout;
    btnOK = new QPushButton(QStringLiteral("OK"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setDefault(true);
    btnCancel = new QPushButton(QStringLiteral("Cancel"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancel);
    form->addRow(buttons);
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmProxy::load(const SocksInfo& socks)
{
    ledAddress->setText(socks.address);
    ledPort->setText(QString::number(socks.port));
    ledUsername->setText(socks.userCode);
    ledPW->setText(socks.password);
    cbSocksVer->setCurrentIndex(socks.version >= 1 && socks.version <= 3 ? socks.version - 1 : -1);
}

void TfrmProxy::store(SocksInfo& socks) const
{
    socks.address = ledAddress->text();
    const std::optional<std::int64_t> port = numtext::tryStrToInt64(ledPort->text());
    if (port && *port >= 0 && *port <= 0xFFFF)
        socks.port = static_cast<quint16>(*port);
    socks.userCode = ledUsername->text();
    socks.password = ledPW->text();
    socks.version = cbSocksVer->currentIndex() + 1;
}

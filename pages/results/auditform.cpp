#include "auditform.h"

#include "auditgrid.h"
#include "auditview.h"
#include "database.h"

#include <QEvent>
#include <QScreen>
#include <QVBoxLayout>

namespace {

const AuditViewLayout kFormLayout = {
    "Memory Usage:", false, 251, {45, 150, 150, 255, 150, 150}, "Snetrel Event Log(*.tvau *.TVAU)",
};

}  // namespace

TAuditForm::TAuditForm(const DataBase& database, PageHost& host, QWidget* parent)
        : QWidget(parent, Qt::Window), database_(database), view_(new TAuditView(kFormLayout, host, this, this))
{
    setObjectName(QStringLiteral("AuditForm"));
    setWindowTitle(QStringLiteral("Event Log"));
    resize(760, 469);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(2, 2, 2, 2);
    column->addWidget(view_);
}

void TAuditForm::FormActivate()
{
    const std::vector<std::uint8_t>& memory = database_.eventMemory;
    auditrows::Slots read = auditrows::FromSlots(memory.data(), memory.size());
    view_->ShowRows(std::move(read.rows));
    // Fewer than nine bytes read no slot and leave the bar as it was.
    if (read.slotCount > 0)
        view_->ShowUsage(read.good, read.slotCount);
}

bool TAuditForm::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate)
        FormActivate();
    return QWidget::event(event);
}

void TAuditForm::showEvent(QShowEvent* event)
{
    // Centred on the main window it belongs to, or on the screen.
    const QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
    const QRect area = owner ? owner->geometry() : (screen() ? screen()->availableGeometry() : QRect());
    if (area.isValid())
        move(area.center() - rect().center());
    QWidget::showEvent(event);
}

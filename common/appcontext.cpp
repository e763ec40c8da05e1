#include "appcontext.h"

#include <QCoreApplication>
#include <QPointer>
#include <QVariant>
#include <QWidget>

namespace appcontext {

namespace {
constexpr char kMainForm[] = "kvt.mainForm";
}

QObject* sharedObject(const char* name)
{
    if (!QCoreApplication::instance())
        return nullptr;
    return QCoreApplication::instance()->property(name).value<QObject*>();
}

void setSharedObject(const char* name, QObject* object)
{
    if (QCoreApplication::instance())
        QCoreApplication::instance()->setProperty(name, QVariant::fromValue(object));
}

QWidget* mainForm()
{
    // Stored as a QObject*; a destroyed form clears itself below.
    return static_cast<QWidget*>(sharedObject(kMainForm));
}

void setMainForm(QWidget* form)
{
    setSharedObject(kMainForm, form);
    if (form)
        QObject::connect(form, &QObject::destroyed, QCoreApplication::instance(), [form] {
            if (sharedObject(kMainForm) == form)
                setSharedObject(kMainForm, nullptr);
        });
}

}  // namespace appcontext

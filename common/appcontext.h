#pragma once

class QWidget;
class QObject;

// The program, the libraries and the tests find shared objects through properties of the
// application object: every module links its own copy of this code, but there is one qApp.
namespace appcontext {

// The window that receives the link-state and progress messages (the application's main form).
QWidget* mainForm();
void setMainForm(QWidget* form);

// A process-wide object stored under a name; null when none was set.
QObject* sharedObject(const char* name);
void setSharedObject(const char* name, QObject* object);

}  // namespace appcontext

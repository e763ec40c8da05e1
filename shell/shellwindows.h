#pragma once

#include <QWidget>
#include <functional>
#include <vector>

// The program's further windows: the sixteen that the program entry creates after the main
// window, in their fixed order, and the dialogs made on demand. A window is found by its name
// (its objectName). A name whose window this build does not have yet gives null.
namespace shellwindows {

// The sixteen names, in the order of their creation at start-up.
const std::vector<const char*>& StartupOrder();

// The window of that name, created on first use; null when this build has no such window.
QWidget* Window(const char* name);
template <typename T>
T* Get(const char* name)
{
    return qobject_cast<T*>(Window(name));
}
// The window when it has been created, else null (nothing is created).
QWidget* Existing(const char* name);

// Makes the named window with this factory from now on (an empty one restores the built-in);
// tests put stand-ins in place of windows this way.
void SetFactory(const char* name, std::function<QWidget*()> factory);

// Creates the sixteen windows in their order; none is shown.
void CreateStartupWindows();
// Destroys every window made here, in the reverse order of their creation.
void DestroyAll();

}  // namespace shellwindows

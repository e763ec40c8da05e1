#pragma once

// Walks the main window as a technician does: logged on in update mode to the emulated unit
// running a scenario, at the window's default size (1020 x 735), every tab entered in turn (and
// every tab inside a page), its reads finished, the archive and the event log read from the unit,
// and the QC form opened at its own default size. What a technician could not read is reported as
// readable lines:
//   - a line edit, combo box, spin box or visible grid cell whose text is wider than its room
//     (measured with the widget's font metrics);
//   - a tab outside its tab bar, or a tab bar outside its window;
//   - a choice (a combo box bound to a point, or one the page fills) that shows no item while the
//     unit holds a value for it.
// With KVT_GRAB_DIR set, each tab and the QC form are saved there as pictures.
#include "pagefixture.h"

#include <QJsonObject>
#include <QStringList>

namespace pagewalk {

// The findings on what `root` shows now (only widgets shown count); `where` heads each line.
QStringList Inspect(QWidget* root, const QString& where);

}  // namespace pagewalk

class PageWalk : public PageWithUnit {
protected:
    // Gives the unit the scenario and walks the window; grabs are named after `name`.
    QStringList Walk(const QJsonObject& scenario, const QString& name);
    QStringList Walk(const QString& scenarioFile, const QString& name);

private:
    QStringList WalkTab(int tab, const QString& name);
    // Every tab of every tab widget shown inside `root`, in turn, then back to the tab it showed.
    QStringList WalkInnerTabs(QWidget* root, const QString& where, const QString& grab);
    QStringList WalkQcForm(const QString& name);
    void ReadLogs();
    void Settle();
    void Grab(QWidget* window, const QString& file) const;
};

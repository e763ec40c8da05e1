#pragma once

#include "pageservices.h"

#include <QWidget>
#include <vector>

// What the main window does after a page's enter routine.
enum class EntryClose { None, Busy, Idle, FileButtonsOff, MaintenanceCaution };

// How a tab is entered (each time it is shown): the mode's buttons and frames, the poll stopped
// or started, the page's enter routine, its read queued and what is switched last. The analysis
// and factory tabs have handlers of their own in the main window. A field a declaration leaves out
// is false, null or None.
struct PageEntry {
    bool setsMode = false;
    bool stopsPoll = false;
    bool enterRoutine = false;
    const char* read = nullptr;  // queued while logged on; null: nothing read
    bool polls = false;          // the poll started while logged on
    EntryClose closing = EntryClose::None;
};

// The page's express-scan number and its two flags.
struct ScanPage {
    int number = 0;
    bool useAlternate = false;
    bool showWait = false;
};

// A page declares itself once, in its own file, with named fields (designated initializers):
// its frame and tab names, where its tab stands, the access level of the sheet, its scan page and
// how the main window enters it. The main window builds its tabs and page entry from these
// declarations (see pagecatalog.h). Every page names its tab; the other fields it leaves out are
// zero, false or null.
struct PageDecl {
    const char* frameName = nullptr;  // the frame's objectName
    const char* sheetName = nullptr;  // the tab sheet's objectName
    const char* caption = nullptr;    // the tab's caption
    int tab = -1;                     // index of the tab in the main page control
    int level = 0;                    // the sheet's access level ("Tag")
    ScanPage scan;
    PageEntry entry;
    const char* splash = nullptr;  // start-up text shown before the frame is made; null: no step
    bool bareStepFirst = false;    // an empty step comes before the text
};

// A page of the main window's page control. Entering the page rebuilds the express-scan list
// from ScanList() and declares the page's scan number.
//
// By default the list is the point ids of the data-aware controls on the page, in creation order
// (their "DbId" property; those marked "DbPolled" also go to the poll's second list). A page whose
// list has an order of its own overrides ScanList.
//
// A page is made with the services it uses (pageservices.h) and never reaches for the program's
// singletons: the point database and the main window are Database() and Host(); frames and
// helpers inside a page are handed what they need by their page.
class TPageFrame : public QWidget {
    Q_OBJECT
public:
    TPageFrame(const PageDecl& decl, const PageServices& services, QWidget* parent = nullptr);
    TPageFrame(const char* objectName, ScanPage page, const PageServices& services, QWidget* parent = nullptr);

    virtual void RegisterPoints();
    const ScanPage& Page() const { return page_; }

    // How the page follows the program's access mode: the state manager calls it while logged
    // on, for every page of the main window, with true when the program enters read-only mode and
    // false for update mode. By default the page is disabled as a whole in read-only mode; a page
    // that stays usable, or switches only some of its controls, says so here.
    virtual void FollowReadOnly(bool readOnly);

    struct ScanIds {
        std::vector<int> main;
        std::vector<int> polled;
    };
    virtual ScanIds ScanList() const;

    // Cleared when the page's enter routine first ends: handlers that must not answer the values
    // loaded at logon test it.
    bool FirstEntry() const { return firstEntry_; }

    DataBase& Database() const { return database_; }
    PageHost& Host() const { return host_; }

protected:
    // The warning some pages show on entry: changing them may upset the analyzer.
    static void CautionBox(const QString& pageWord);
    // The bound controls' ids under the page, in creation order.
    ScanIds BoundIds() const;

private:
    DataBase& database_;
    PageHost& host_;
    ScanPage page_;
    bool firstEntry_ = true;
};

// Sets every direct child control of the container enabled := not the flag.
void DisableChildControls(QWidget* container, bool disable);

#pragma once

#include <QWidget>
#include <vector>

// What the main window does after a page's enter routine.
enum class EntryClose { None, Busy, Idle, FileButtonsOff, MaintenanceCaution };

// How a tab is entered (each time it is shown): the mode's buttons and frames, the poll stopped
// or started, the page's enter routine, its read queued and what is switched last. The analysis
// and factory tabs have handlers of their own in the main window.
struct PageEntry {
    bool setsMode;
    bool stopsPoll;
    bool enterRoutine;
    const char* read;  // queued while logged on; null: nothing read
    bool polls;        // the poll started while logged on
    EntryClose closing;
};

// The page's express-scan number and its two flags.
struct ScanPage {
    int number;
    bool useAlternate;
    bool showWait;
};

// A page declares itself once: its frame and tab names, where its tab stands, the access level of
// the sheet, its scan page and how the main window enters it. The main window builds its tabs and
// page entry from these declarations (see pagecatalog.h).
struct PageDecl {
    const char* frameName;  // the frame's objectName
    const char* sheetName;  // the tab sheet's objectName
    const char* caption;    // the tab's caption
    int tab;                // index of the tab in the main page control
    int level;              // the sheet's access level ("Tag")
    ScanPage scan;
    PageEntry entry;
    const char* splash;  // start-up text shown before the frame is made; null: no step
    bool bareStepFirst;  // an empty step comes before the text
};

// A page of the main window's page control. Entering the page rebuilds the express-scan list
// from ScanList() and declares the page's scan number.
//
// By default the list is the point ids of the data-aware controls on the page, in creation order
// (their "DbId" property; those marked "DbPolled" also go to the poll's second list). A page whose
// list has an order of its own overrides ScanList.
class TPageFrame : public QWidget {
    Q_OBJECT
public:
    TPageFrame(const PageDecl& decl, QWidget* parent = nullptr);
    TPageFrame(const char* objectName, ScanPage page, QWidget* parent = nullptr);

    virtual void RegisterPoints();
    const ScanPage& Page() const { return page_; }

    struct ScanIds {
        std::vector<int> main;
        std::vector<int> polled;
    };
    virtual ScanIds ScanList() const;

    // Cleared when the page's enter routine first ends: handlers that must not answer the values
    // loaded at logon test it.
    bool FirstEntry() const { return firstEntry_; }

protected:
    // The warning some pages show on entry: changing them may upset the analyzer.
    static void CautionBox(const QString& pageWord);
    // The bound controls' ids under the page, in creation order.
    ScanIds BoundIds() const;

private:
    ScanPage page_;
    bool firstEntry_ = true;
};

// Sets every direct child control of the container enabled := not the flag.
void DisableChildControls(QWidget* container, bool disable);

#pragma once

#include <QWidget>

// A page of the main window's page control. Entering the page rebuilds the express-scan list
// from the point ids of the data-aware controls on it (their "DbId" property; those marked
// "DbPolled" also go to the poll's second list) and declares the page's scan number.
class TPageFrame : public QWidget {
    Q_OBJECT
public:
    struct ScanPage {
        int number;
        bool useAlternate;
        bool showWait;
    };

    TPageFrame(const char* objectName, ScanPage page, QWidget* parent = nullptr);

    virtual void RegisterPoints();
    const ScanPage& Page() const { return page_; }

protected:
    // The warning some pages show on entry: changing them may upset the analyzer.
    static void CautionBox(const QString& pageWord);

private:
    ScanPage page_;
};

// Sets every direct child control of the container enabled := not the flag.
void DisableChildControls(QWidget* container, bool disable);

#pragma once

#include <QString>
#include <vector>

class QPrinter;

namespace modbuspage {

// What the printed register listing shows: the page's header texts and the list's nodes in list
// order.
struct Listing {
    struct Line {
        enum Kind { TopGroup, Subgroup, Entry } kind;
        QString text;  // a group's caption, an entry's name
        QString registerText;
        QString type;
        QString units;
        QString value;
        QString permission;
    };
    QString tabCaption;
    QString modeText;
    QString addressText;
    std::vector<Line> lines;
};

// Prints the listing, page after page with the header block, the headings and the frame on each.
// False, and a reason, when the printer could not be started.
bool PrintListing(QPrinter& printer, const Listing& listing, QString* problem = nullptr);

}  // namespace modbuspage

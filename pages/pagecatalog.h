#pragma once

#include "pageframe.h"

#include <vector>

// The seventeen pages, in the order the main window creates them at start-up. The main window
// makes its tabs (in tab order), its frames and its page entry from this list; adding a page is
// one line in pagecatalog.cpp.
struct PageMaker {
    const PageDecl& decl;
    QWidget* (*create)(QWidget* owner);
};

const std::vector<PageMaker>& pageCatalog();
// The declaration of the page on that tab; null outside the page control.
const PageDecl* pageDeclForTab(int tab);

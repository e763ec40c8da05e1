#pragma once

#include "pageframe.h"

#include <array>

// The pages of the main window, in the order it creates them at start-up. The main window makes
// its tabs (in tab order), its frames and its page entry from this list, and hands each page its
// services. Adding a page is its own file (the class with its `kDecl`) and one line in
// pagecatalog.cpp; the count below is checked against that list by the compiler.
struct PageMaker {
    const PageDecl& decl;
    TPageFrame* (*create)(const PageServices& services, QWidget* owner);
};

inline constexpr int kPageCount = 17;

const std::array<PageMaker, kPageCount>& pageCatalog();
// The declaration of the page on that tab; null outside the page control.
const PageDecl* pageDeclForTab(int tab);

#pragma once

#include "pageframe.h"

class TfraBoardTester : public TPageFrame {
    Q_OBJECT
public:
    static const PageDecl kDecl;

    explicit TfraBoardTester(QWidget* parent = nullptr) : TPageFrame(kDecl, parent) {}
};

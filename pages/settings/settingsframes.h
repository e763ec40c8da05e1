#pragma once

#include "pageframe.h"

class QLabel;

class TfraCommPorts : public TPageFrame {
    Q_OBJECT
public:
    static const PageDecl kDecl;

    explicit TfraCommPorts(QWidget* parent = nullptr) : TPageFrame(kDecl, parent) {}
};

// The factory page starts with its controls hidden behind a notice.
class TfraFactory : public TPageFrame {
    Q_OBJECT
public:
    static const PageDecl kDecl;

    explicit TfraFactory(QWidget* parent = nullptr);
    void ShowControls(bool show);

public slots:
    void btnQCDocClick();

private:
    QLabel* notice_;
};

class TfraBoardTester : public TPageFrame {
    Q_OBJECT
public:
    static const PageDecl kDecl;

    explicit TfraBoardTester(QWidget* parent = nullptr) : TPageFrame(kDecl, parent) {}
};

#pragma once

#include "pageframe.h"

class TfraModbus : public TPageFrame {
    Q_OBJECT
public:
    static const PageDecl kDecl;

    explicit TfraModbus(QWidget* parent = nullptr) : TPageFrame(kDecl, parent) {}
    bool IsReadOnly() const { return readOnly_; }
public slots:
    void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }

private:
    bool readOnly_ = true;
};

class TfrAnalogInputs : public TPageFrame {
    Q_OBJECT
public:
    static const PageDecl kDecl;

    explicit TfrAnalogInputs(QWidget* parent = nullptr) : TPageFrame(kDecl, parent) {}
};

class TfraBoardTester : public TPageFrame {
    Q_OBJECT
public:
    static const PageDecl kDecl;

    explicit TfraBoardTester(QWidget* parent = nullptr) : TPageFrame(kDecl, parent) {}
};

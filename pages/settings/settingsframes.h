#pragma once

#include "pageframe.h"

class QLabel;

class TfraCommPorts : public TPageFrame {
    Q_OBJECT
public:
    static const PageDecl kDecl;

    explicit TfraCommPorts(QWidget* parent = nullptr) : TPageFrame(kDecl, parent) {}
};

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

class TfrAnalogInputs : public TPageFrame {
    Q_OBJECT
public:
    static const PageDecl kDecl;

    explicit TfrAnalogInputs(QWidget* parent = nullptr) : TPageFrame(kDecl, parent) {}
};

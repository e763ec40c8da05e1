#pragma once

#include "pageframe.h"

class QLabel;

class TfrmAlarm : public TPageFrame {
    Q_OBJECT
public:
    explicit TfrmAlarm(QWidget* parent = nullptr) : TPageFrame("frmAlarm", {11, false, false}, parent) {}
};

class TfraAnalyzerGlobal : public TPageFrame {
    Q_OBJECT
public:
    explicit TfraAnalyzerGlobal(QWidget* parent = nullptr) : TPageFrame("fraAnalyzerGlobal", {2, false, true}, parent) {}
};

// The pages an operator can upset warn on entry.
class TfraIO : public TPageFrame {
    Q_OBJECT
public:
    explicit TfraIO(QWidget* parent = nullptr) : TPageFrame("fraIO", {4, false, true}, parent) {}
    void RegisterPoints() override;
};

class TfrmInput2 : public TPageFrame {
    Q_OBJECT
public:
    explicit TfrmInput2(QWidget* parent = nullptr) : TPageFrame("frmInput2", {13, false, true}, parent) {}
    void RegisterPoints() override;
};

class TfraOutput : public TPageFrame {
    Q_OBJECT
public:
    explicit TfraOutput(QWidget* parent = nullptr) : TPageFrame("fraOutput", {5, false, true}, parent) {}
    void RegisterPoints() override;
};

class TfraCommPorts : public TPageFrame {
    Q_OBJECT
public:
    explicit TfraCommPorts(QWidget* parent = nullptr) : TPageFrame("fraCommPorts", {6, false, true}, parent) {}
};

class TfraModbus : public TPageFrame {
    Q_OBJECT
public:
    explicit TfraModbus(QWidget* parent = nullptr) : TPageFrame("fraModbus", {7, true, true}, parent) {}
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
    explicit TfraFactory(QWidget* parent = nullptr);
    void ShowControls(bool show);

private:
    QLabel* notice_;
};

class TfrAnalogInputs : public TPageFrame {
    Q_OBJECT
public:
    explicit TfrAnalogInputs(QWidget* parent = nullptr) : TPageFrame("frAnalogInputs", {14, true, false}, parent) {}
};

class TfraBoardTester : public TPageFrame {
    Q_OBJECT
public:
    explicit TfraBoardTester(QWidget* parent = nullptr) : TPageFrame("fraBoardTester", {9, false, true}, parent) {}
};

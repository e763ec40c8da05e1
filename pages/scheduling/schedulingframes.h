#pragma once

#include "pageframe.h"

class TfraAnalyzerStreams : public TPageFrame {
    Q_OBJECT
public:
    static const PageDecl kDecl;

    explicit TfraAnalyzerStreams(QWidget* parent = nullptr)
        : TPageFrame(kDecl, parent) {}
    bool IsEditingEnabled() const { return editing_; }
public slots:
    void EnableEditing(bool enable) { editing_ = enable; }

private:
    bool editing_ = false;
};

class TfrSequencer : public TPageFrame {
    Q_OBJECT
public:
    static const PageDecl kDecl;

    explicit TfrSequencer(QWidget* parent = nullptr) : TPageFrame(kDecl, parent) {}
    bool IsReadOnly() const { return readOnly_; }
public slots:
    void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }

private:
    bool readOnly_ = true;
};

// The timers page polls only the streams point.
class TfrmTimer1 : public TPageFrame {
    Q_OBJECT
public:
    static const PageDecl kDecl;

    explicit TfrmTimer1(QWidget* parent = nullptr) : TPageFrame(kDecl, parent) {}
    void RegisterPoints() override;
};

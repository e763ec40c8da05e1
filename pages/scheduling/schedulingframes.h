#pragma once

#include "pageframe.h"
#include "sequencerpage.h"
#include "timerspage.h"

class TfraAnalyzerStreams : public TPageFrame {
    Q_OBJECT
public:
    static const PageDecl kDecl;

    explicit TfraAnalyzerStreams(QWidget* parent = nullptr) : TPageFrame(kDecl, parent) {}
    bool IsEditingEnabled() const { return editing_; }
public slots:
    void EnableEditing(bool enable) { editing_ = enable; }

private:
    bool editing_ = false;
};

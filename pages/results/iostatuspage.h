#pragma once

#include "pageframe.h"

#include <QStringList>
#include <memory>

namespace Ui {
class IOStatusPage;
}

// The I/O status page: a read-only panel of the unit's inputs and outputs. Its controls show
// their points; the page reformats the analog values and sets the lamps' pictures.
class TfrmIOStatus : public TPageFrame {
    Q_OBJECT
public:
    static const PageDecl kDecl;

    explicit TfrmIOStatus(const PageServices& services, QWidget* parent = nullptr);
    ~TfrmIOStatus() override;

    // Every control's point once in the page's order, the polled ones also in the poll's list.
    ScanIds ScanList() const override;

    // The controls in scan order.
    static const QStringList& ScanOrder();

private:
    std::unique_ptr<Ui::IOStatusPage> ui_;
};

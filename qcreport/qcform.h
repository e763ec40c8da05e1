#pragma once

// The "Q.C. Documentation" window: customer and technician data kept in "QCDoc.xml", the unit's
// configuration copied from the point database while logged on, and the button that saves the
// certificate as a PDF. Made once at start-up; closing only hides it.

#include "qcdocfile.h"
#include "qcformfill.h"

#include <QStringList>
#include <QWidget>

#include <functional>
#include <memory>

namespace Ui {
class TQCForm;
}
class QTableWidget;

// What the form needs of the rest of the program, given by whoever makes it.
struct QCFormServices {
    qcreport::PointTextReader pointText;  // the point database's current texts
    std::function<bool()> loggedOn;       // the user is logged on to the unit
    std::function<QString()> dataDirectory;
    std::function<QString()> guiVersion;        // the About box's release text
    std::function<QString()> programDirectory;  // the PDF library and the logo live here
};

class TQCForm : public QWidget {
    Q_OBJECT
public:
    explicit TQCForm(QCFormServices services, QWidget* parent = nullptr);
    ~TQCForm() override;

    // The activation handler: reads "QCDoc.xml" the first time, resets the calibration labels,
    // and while logged on fills the controls from the unit's points.
    void FormActivate();

    QCFormServices& services() { return services_; }
    QString dataFilePath() const;
    qcreport::QCDocData docData() const;
    void setDocData(const qcreport::QCDocData& data, int groups = 4);

    // The text of column 1 of a grid row; empty for a missing grid or cell.
    static QString GridCell(const QTableWidget* grid, int row);
    // The PDF library a save loads; relative names are found beside the program.
    void setPdfLibraryName(const QString& name) { pdfLibraryName_ = name; }
    // Draws the whole certificate and writes it; the outcome box is shown by btnSaveClick.
    enum class SaveResult { Saved, WriteFailed, CreateFailed };
    SaveResult SaveCertificate(const QString& fileName, QString* error = nullptr);
    QString GridCell(const char* gridName, int row) const;

public slots:
    void btnTmpSaveClick();
    void btnSaveClick();

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildStreamTab(int stream);
    void setUpGrids();
    void fitBoxes();
    void readDataFile();

    std::unique_ptr<Ui::TQCForm> ui_;
    QCFormServices services_;
    bool dataFileRead_ = false;
    bool placed_ = false;
    // The fill failures last told to the user; empty after a fill without any, and after closing.
    QStringList reportedFailures_;
    QString pdfLibraryName_ = QStringLiteral("libqcpdf.so");
};

#include "qcform.h"

#include "debenupdflibrarydll1212.h"
#include "dialogservice.h"
#include "qcfillmap.h"
#include "qcpages.h"

using namespace qcreport;

TQCForm::SaveResult TQCForm::SaveCertificate(const QString& fileName, QString* error)
{
    try {
        DebenuPDFLibraryDLL1212 pdf(pdfLibraryName_);
        pdf.SetPageSize(QStringLiteral("A4"));
        int page = DrawQCFirstPage(*this, pdf, 0);
        const std::string streams = services_.pointText ? services_.pointText(kStreamsPointId) : std::string();
        const int n = numtext::StrToInt(streams);
        if (n >= 0 && n <= 3)
            for (int stream = 1; stream <= n + 1; ++stream)
                page = DrawQCStreamPage(*this, pdf, page, stream);
        DrawQCLastPage(*this, pdf, page);
        return pdf.SaveToFile(fileName) == 1 ? SaveResult::Saved : SaveResult::WriteFailed;
    } catch (const std::exception& e) {
        if (error)
            *error = QString::fromLocal8Bit(e.what());
        return SaveResult::CreateFailed;
    }
}

void TQCForm::btnSaveClick()
{
    const QString fileName = DialogService::saveFileNameWithExtension(
        QStringLiteral("Save As"), QString(), QStringLiteral("pdf (*.pdf *.PDF)"), QStringLiteral("pdf"));
    if (!fileName.isEmpty()) {
        QString error;
        switch (SaveCertificate(fileName, &error)) {
        case SaveResult::Saved:
            DialogService::ask(QMessageBox::Information, QStringLiteral("Information"),
                               QStringLiteral("Save File Successful."), QMessageBox::Ok);
            break;
        case SaveResult::WriteFailed:
            DialogService::ask(QMessageBox::Warning, QStringLiteral("Attention"), QStringLiteral("Write To File Fail"),
                               QMessageBox::Ok);
            break;
        case SaveResult::CreateFailed:
            DialogService::ask(QMessageBox::Warning, QStringLiteral("Attention"),
                               QStringLiteral("Create PDF File Fail."), QMessageBox::Ok);
            break;
        }
    }
    // The customer and technician data are kept whatever became of the certificate.
    btnTmpSaveClick();
}

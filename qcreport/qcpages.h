#pragma once

// The pages of the QC certificate, drawn from the QC form's controls: the first page, one page
// per stream and the last page. Each takes the number of the page before it and returns the
// number of the last page it drew.

class DebenuPDFLibraryDLL1212;
class TQCForm;

namespace qcreport {

int DrawQCFirstPage(const TQCForm& form, DebenuPDFLibraryDLL1212& pdf, int pageIndex);
// stream is 1 to 4.
int DrawQCStreamPage(const TQCForm& form, DebenuPDFLibraryDLL1212& pdf, int pageIndex, int stream);
int DrawQCLastPage(const TQCForm& form, DebenuPDFLibraryDLL1212& pdf, int pageIndex);

}  // namespace qcreport

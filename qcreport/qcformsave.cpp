#include "qcform.h"

void TQCForm::btnSaveClick()
{
    btnTmpSaveClick();
}

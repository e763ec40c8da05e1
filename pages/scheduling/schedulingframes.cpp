#include "schedulingframes.h"

#include "database.h"

void TfrmTimer1::RegisterPoints()
{
    constexpr int kStreamsPointId = 20;
    ExpressScan& scan = DataBase::Instance()->expressScan;
    scan.Clear();
    scan.AddPoint(kStreamsPointId);
    scan.SetPage(Page().number, Page().useAlternate, Page().showWait);
}

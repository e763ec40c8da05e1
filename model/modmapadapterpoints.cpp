#include "database.h"
#include "databasepoint.h"
#include "modmapadapter.h"

DatabasePoint* ModmapAdapter::GetEntryPoint(int index) const
{
    if (index < 0 || index >= count_)
        return nullptr;
    return DataBase::Instance()->GetPointById(image_.Entries[index].UNIQUEID);
}

bool ModmapAdapter::AppendEntry(TMBGProfile code, const DatabasePoint* point, bool writable)
{
    return point && AppendEntry(code, point->GetId(), writable);
}

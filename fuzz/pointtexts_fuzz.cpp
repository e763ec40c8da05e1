// Point texts: what a control, a configuration file or a page hands the database as a point's
// new value, for points of every type of the register map.
#include "database.h"
#include "databasepoint.h"
#include "fuzzdatabase.h"
#include "ridovaz.h"

#include <stdexcept>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzzsupport::initDatabase();
    if (size < 2)
        return 0;
    static Ridovaz17041417 map;
    const int index = (data[0] | (data[1] << 8)) % map.GetCount();
    const int id = map.GetPointId(static_cast<std::uint16_t>(index));
    const std::string text(reinterpret_cast<const char*>(data + 2), size - 2);
    DataBase* db = DataBase::Instance();
    try {
        db->SetPointText(id, text);
        db->GetPointText(id);
        db->SetPointTextChecked(id, text);
        if (DatabasePoint* point = db->GetPointById(id)) {
            point->Load(text);
            point->ToString();
        }
    } catch (const std::exception&) {
        // A text a point refuses may be reported by an exception; only a crash is a finding.
    }
    fuzzsupport::forgetDialogs();
    return 0;
}

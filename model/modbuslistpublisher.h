#pragma once

#include "modmapadapterimage.h"

#include <string>
#include <vector>

// Told when the Modbus list takes a new map.
class IMBObserver {
public:
    virtual ~IMBObserver() = default;
    virtual void Respond(TMBGProfile profile, int index, std::string propertyId, int value) = 0;
};

// Observers are not owned; one observer may be listed more than once and is then told once per
// entry.
class MBPublisher {
public:
    virtual ~MBPublisher();
    virtual void Attach(IMBObserver* observer);
    // Removes every entry of the observer.
    virtual void Detach(IMBObserver* observer);
    virtual void Notify(TMBGProfile profile, int index, const std::string& propertyId, int value);

private:
    std::vector<IMBObserver*> observers_;
};

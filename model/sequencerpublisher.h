#pragma once

#include <vector>

// Told of every new image of the sequencer or the timer block: type is 0, st the publisher's
// image (228 or 144 bytes), valid for the duration of the call.
class ISObserver {
public:
    virtual ~ISObserver() = default;
    virtual void Respond(int type, const void* st) = 0;
};

// Observers are not owned; one observer may be listed more than once and is then told once per
// entry. Observers must not attach or detach on the publisher that is telling them.
class SPublisher {
public:
    virtual ~SPublisher();
    virtual void Attach(ISObserver* observer);
    // Removes every entry of the observer.
    virtual void Detach(ISObserver* observer);
    virtual void Notify(int type, const void* st);

private:
    std::vector<ISObserver*> observers_;
};

#pragma once

#include "modbuslistpublisher.h"
#include "sequencerpublisher.h"

#include <QObject>
#include <functional>
#include <string>
#include <vector>

class ModbusList;

// Told of a change of one property of a sequencer entry. No publisher calls it; it is here for
// TQSequencerObserver.
class ISEObserver {
public:
    virtual ~ISEObserver() = default;
    virtual void Respond(int parent_index, int index, std::string propertyId, int value) = 0;
};

// Non-visual components through which a page observes the Modbus list and the sequencer and
// timer blocks. Each passes every notification, unchanged and synchronously, to its one event
// when a handler is assigned, and does nothing else: no filtering, no queuing, and a handler's
// failure travels back into the publisher's notification.
//
// Attach them with AttachTo, so that they can detach themselves when they are destroyed: a
// component destroyed while still listed by a publisher would be called after its death. The
// publishers must outlive the components attached this way (the database, which holds them all,
// is released after the pages); DetachAll releases them early.

class QModbusObserver : public QObject, public IMBObserver {
    Q_OBJECT
public:
    using MBChangedEvent = std::function<void(TMBGProfile profile, int index, std::string propertyId, int value)>;

    explicit QModbusObserver(QObject* owner = nullptr);
    ~QModbusObserver() override;

    void Respond(TMBGProfile profile, int index, std::string propertyId, int value) override;

    // A Modbus list is attached to with its groups, and detached from likewise.
    void AttachTo(MBPublisher& publisher);
    void DetachFrom(MBPublisher& publisher);
    void DetachAll();

    MBChangedEvent OnMBChanged;

private:
    std::vector<MBPublisher*> publishers_;
};

class TQStructOberver : public QObject, public ISObserver {
    Q_OBJECT
public:
    // type, and the publisher's block image, valid during the call only.
    using SChangedEvent = std::function<void(int type, const void* st)>;

    explicit TQStructOberver(QObject* owner = nullptr);
    ~TQStructOberver() override;

    void Respond(int type, const void* st) override;

    void AttachTo(SPublisher& publisher);
    void DetachFrom(SPublisher& publisher);
    void DetachAll();

    SChangedEvent OnSChanged;

private:
    std::vector<SPublisher*> publishers_;
};

class TQSequencerObserver : public QObject, public ISEObserver {
    Q_OBJECT
public:
    using SEChangedEvent = std::function<void(int parent_index, int index, std::string propertyId, int value)>;

    explicit TQSequencerObserver(QObject* owner = nullptr);

    void Respond(int parent_index, int index, std::string propertyId, int value) override;

    SEChangedEvent OnSEChanged;
};

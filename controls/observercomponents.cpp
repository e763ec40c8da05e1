#include "observercomponents.h"

#include "modbuslist.h"

#include <algorithm>
#include <utility>

namespace {

template <typename Publisher>
void forget(std::vector<Publisher*>& publishers, Publisher* publisher)
{
    publishers.erase(std::remove(publishers.begin(), publishers.end(), publisher), publishers.end());
}

template <typename Publisher>
void remember(std::vector<Publisher*>& publishers, Publisher* publisher)
{
    if (std::find(publishers.begin(), publishers.end(), publisher) == publishers.end())
        publishers.push_back(publisher);
}

}  // namespace

QModbusObserver::QModbusObserver(QObject* owner) : QObject(owner) {}

QModbusObserver::~QModbusObserver()
{
    DetachAll();
}

void QModbusObserver::Respond(TMBGProfile profile, int index, std::string propertyId, int value)
{
    if (OnMBChanged)
        OnMBChanged(profile, index, std::move(propertyId), value);
}

void QModbusObserver::AttachTo(MBPublisher& publisher)
{
    publisher.Attach(this);
    remember(publishers_, &publisher);
}

void QModbusObserver::DetachFrom(MBPublisher& publisher)
{
    publisher.Detach(this);
    // The list attaches its observers to its groups as well.
    if (auto* list = dynamic_cast<ModbusList*>(&publisher)) {
        for (int i = 0; i < list->GetCollection().GetGroupCount(); ++i)
            if (MBGroup* group = list->GetCollection().GetGroup(i))
                group->Detach(this);
    }
    forget(publishers_, &publisher);
}

void QModbusObserver::DetachAll()
{
    while (!publishers_.empty())
        DetachFrom(*publishers_.back());
}

TQStructOberver::TQStructOberver(QObject* owner) : QObject(owner) {}

TQStructOberver::~TQStructOberver()
{
    DetachAll();
}

void TQStructOberver::Respond(int type, const void* st)
{
    if (OnSChanged)
        OnSChanged(type, st);
}

void TQStructOberver::AttachTo(SPublisher& publisher)
{
    publisher.Attach(this);
    remember(publishers_, &publisher);
}

void TQStructOberver::DetachFrom(SPublisher& publisher)
{
    publisher.Detach(this);
    forget(publishers_, &publisher);
}

void TQStructOberver::DetachAll()
{
    while (!publishers_.empty())
        DetachFrom(*publishers_.back());
}

TQSequencerObserver::TQSequencerObserver(QObject* owner) : QObject(owner) {}

void TQSequencerObserver::Respond(int parent_index, int index, std::string propertyId, int value)
{
    if (OnSEChanged)
        OnSEChanged(parent_index, index, std::move(propertyId), value);
}

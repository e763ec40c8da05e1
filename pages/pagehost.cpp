#include "pagehost.h"

namespace {

class NoHost : public PageHost {
public:
    void SetStreamDisplay(const QString&) override {}
    void WriteSinglePoint(int, const std::string&) override {}
    void Queue(const char*, const std::string&) override {}
    bool LoggedOn() const override { return false; }
};

PageHost* gHost = nullptr;

}  // namespace

PageHost* PageHost::Instance()
{
    static NoHost none;
    return gHost ? gHost : &none;
}

void PageHost::SetInstance(PageHost* host)
{
    gHost = host;
}

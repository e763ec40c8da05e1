#include "pointfixture.h"

#include <gtest/gtest.h>
#include <limits>

namespace {

class Recorder : public IDBPointObserver {
public:
    std::vector<std::string> seen;
    std::function<void()> onChange;
    void OnValueChanged(const std::string& value) override
    {
        seen.push_back(value);
        if (onChange)
            onChange();
    }
};

class PointTest : public DatabaseFixture {};

}  // namespace

TEST_F(PointTest, TextConversionsPerClass)
{
    struct Case {
        std::function<std::string(const std::string&)> convert;
        const char* in;
        const char* out;
    };
    const auto load = [](auto tag) {
        using P = decltype(tag);
        return [](const std::string& t) {
            P p(5);
            p.Load(t);
            return p.ToString();
        };
    };
    const Case cases[] = {
        {load(U8DatabasePoint(5)), "300", "44"},
        {load(U8DatabasePoint(5)), "-1", "255"},
        {load(U8DatabasePoint(5)), "  12abc", "12"},
        {load(U8DatabasePoint(5)), "abc", "0"},
        {load(S8DatabasePoint(5)), "-128", "-128"},
        {load(S8DatabasePoint(5)), "200", "-56"},
        {load(U16DatabasePoint(5)), "65536", "0"},
        {load(S16DatabasePoint(5)), "-5", "-5"},
        {load(U32DatabasePoint(5)), "-1", "4294967295"},
        {load(U32DatabasePoint(5)), "4294967295", "4294967295"},  // survives its own text
        {load(U32DatabasePoint(5)), "-2147483648", "2147483648"},
        {load(S32DatabasePoint(5)), "-7", "-7"},
        {load(FloatDatabasePoint(5)), "1234567", "1.23457e+06"},
        {load(FloatDatabasePoint(5)), "0.5", "0.5"},
        {load(FloatDatabasePoint(5)), " 2.5xyz", "2.5"},
        {load(FloatDatabasePoint(5)), "junk", "0"},
        {load(BoolDatabasePoint(5)), "false", "False"},
        {load(BoolDatabasePoint(5)), "F", "False"},
        {load(BoolDatabasePoint(5)), "0", "False"},
        {load(BoolDatabasePoint(5)), "", "False"},
        {load(BoolDatabasePoint(5)), "no", "True"},
        {load(BoolDatabasePoint(5)), "False ", "True"},
        {load(BoolDatabasePoint(5)), "2", "True"},
        {load(StringDatabasePoint(5)), "Site 7", "Site 7"},
        {load(BaudDatabasePoint(5)), "9", "9"},
        {load(Bits16DatabasePoint(5)), "65535", "65535"},
        {load(Bits32DatabasePoint(5)), "-2147483648", "-2147483648"},
        {load(Bits32DatabasePoint(5)), "4294967295", "-1"},
        {load(Bits8DatabasePoint(5)), "A", "A"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.convert(c.in), c.out) << c.in;
}

TEST_F(PointTest, BitSetsSetOrClearOneBit)
{
    Bits16DatabasePoint p16(5);
    p16.Load("5");
    p16.SetPending("2");
    EXPECT_EQ(p16.ToString(), "7");
    p16.SetPending("65533");
    EXPECT_EQ(p16.ToString(), "5");
    p16.SetPending("3");
    EXPECT_EQ(p16.ToString(), "3");
    p16.SetPending("8");
    p16.SetPending("65527");
    EXPECT_EQ(p16.ToString(), "3");

    Bits32DatabasePoint p32(5);
    p32.SetPending("-2147483648");
    EXPECT_EQ(p32.ToString(), "-2147483648");
    p32.SetPending("1");
    EXPECT_EQ(p32.GetPending(), 0x80000001u);
    p32.SetPending("-2");  // only bit 0 clear
    EXPECT_EQ(p32.GetPending(), 0x80000000u);

    Bits8DatabasePoint p8(5);
    p8.SetPending(std::string(1, '\x04'));
    p8.SetPending(std::string(1, '\x01'));
    EXPECT_EQ(p8.GetPending(), 5);
    p8.SetPending(std::string(1, '\xFB'));  // clears bit 2
    EXPECT_EQ(p8.GetPending(), 1);
    p8.SetPending("3");  // code 0x33: not a single bit, so the text is a number
    EXPECT_EQ(p8.GetPending(), 3);
    p8.SetAndNotify("65");
    EXPECT_EQ(p8.ToString(), "A");
}

TEST_F(PointTest, ModifiedComparesPendingWithUnitValue)
{
    FloatDatabasePoint f(5);
    f.Load("1.5");
    EXPECT_FALSE(f.IsModified());
    f.SetPending("1.50");
    EXPECT_FALSE(f.IsModified());
    f.SetPending("2");
    EXPECT_TRUE(f.IsModified());
    f.Load("nan");
    EXPECT_FALSE(f.IsModified());

    StringDatabasePoint s(5);
    s.Load("abc");
    s.SetPending("abcd");
    EXPECT_TRUE(s.IsModified());
    s.SetPending("abc");
    EXPECT_FALSE(s.IsModified());
}

TEST_F(PointTest, ObserversAttachTwiceDetachOnce)
{
    U8DatabasePoint p(5);
    Recorder a, b;
    p.Attach(&a);
    p.Attach(&a);
    p.Attach(&b);
    p.SetAndNotify("7");
    EXPECT_EQ(a.seen, (std::vector<std::string>{"7", "7"}));
    p.Detach(&a);
    p.SetAndNotify("8");
    EXPECT_EQ(a.seen.size(), 2u);
    EXPECT_EQ(b.seen, (std::vector<std::string>{"7", "8"}));
    // Detaching oneself and another observer during a notification is safe.
    Recorder c;
    p.Attach(&c);
    b.onChange = [&] {
        p.Detach(&b);
        p.Detach(&c);
    };
    p.SetAndNotify("9");
    EXPECT_TRUE(c.seen.empty());
}

TEST_F(PointTest, ReadsAndWritesThroughTheFacade)
{
    // "Ridovaz Version" reads with index 0 before any connection; other points do nothing yet.
    link.values[0] = {0x09, 0x08, 0x04, 0x01};
    U32DatabasePoint version(0);
    Recorder r;
    version.Attach(&r);
    version.ReadFromUnit();
    EXPECT_EQ(version.ToString(), "17041417");
    EXPECT_EQ(r.seen, (std::vector<std::string>{"17041417"}));

    FloatDatabasePoint f(6);
    f.ReadFromUnit();
    EXPECT_TRUE(link.sent.size() == 1u);
    EXPECT_EQ(f.WriteToUnit(), -1);

    RidovazManager::Instance()->ReselectMap("17041417");
    const float v = 12.5f;
    link.values[6].resize(4);
    std::memcpy(link.values[6].data(), &v, 4);
    f.ReadFromUnit();
    EXPECT_EQ(f.ToString(), "12.5");
    ASSERT_EQ(link.sent.back(), (std::vector<std::uint8_t>{4, 0x01, 6, 0}));

    f.SetPending("3");
    EXPECT_EQ(f.WriteToUnit(), 0);
    EXPECT_FALSE(f.IsModified());
    EXPECT_EQ(link.sent.back()[1], 0x04);

    // A failed read leaves both values as they were.
    f.SetPending("4");
    link.failWithStatus = 4;
    EXPECT_THROW(f.ReadFromUnit(), CommStatusError);
    EXPECT_EQ(f.GetPending(), 4.0f);
    EXPECT_EQ(f.GetValue(), 3.0f);
    // A failed write keeps the point modified.
    link.failWithStatus = 4;
    EXPECT_THROW(f.WriteToUnit(), CommStatusError);
    EXPECT_TRUE(f.IsModified());
}

TEST_F(PointTest, FactoryFollowsTheTypeCode)
{
    Ridovaz17041417 map;
    for (int i = 0; i < map.GetCount(); ++i) {
        auto p = DBPointFactory::Create(static_cast<std::uint16_t>(i));
        ASSERT_NE(p, nullptr) << i;
        EXPECT_EQ(p->GetId(), map.GetPointId(static_cast<std::uint16_t>(i)));
        EXPECT_EQ(p->GetName(), map.GetName(static_cast<std::uint16_t>(i)));
    }
    EXPECT_NE(dynamic_cast<U32DatabasePoint*>(DBPointFactory::Create(0).get()), nullptr);
    EXPECT_NE(dynamic_cast<StringDatabasePoint*>(DBPointFactory::Create(2).get()), nullptr);
    EXPECT_NE(dynamic_cast<Bits16DatabasePoint*>(DBPointFactory::Create(10).get()), nullptr);
}

#include "panekitlib.h"

#include "appcontext.h"
#include "dialogservice.h"
#include "iqtorvahelp.h"
#include "testenv.h"
#include "winmsg.h"

#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QStatusBar>
#include <QStringList>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <string>
#include <vector>

namespace {

// Calls an entry that writes into a caller's buffer and returns the text.
template <typename Fn, typename... Args>
std::string textOf(Fn fn, Args... args)
{
    char buffer[512];
    const int n = fn(args..., buffer, static_cast<int>(sizeof buffer));
    EXPECT_EQ(n, static_cast<int>(std::strlen(buffer)));
    return buffer;
}

class HelpfulWidget : public QWidget, public IQTORVAHelp {
    Q_OBJECT
    Q_INTERFACES(IQTORVAHelp)
public:
    int GetHelpContextTORVA() const override { return 4711; }
};

// Counts the request messages the main form receives.
class MainForm : public QMainWindow {
public:
    std::vector<std::pair<int, std::intptr_t>> received;

protected:
    bool event(QEvent* e) override
    {
        if (e->type() == static_cast<QEvent::Type>(winmsg::WM_REQUEST_POLL) ||
            e->type() == static_cast<QEvent::Type>(winmsg::WM_REQUEST_READ)) {
            auto* m = static_cast<WinMessageEvent*>(e);
            received.emplace_back(m->message(), m->wParam);
            EXPECT_EQ(m->lParam, 0);
            return true;
        }
        return QMainWindow::event(e);
    }
};

}  // namespace

TEST(Panekit, LoadsWithEveryEntryAndStartsAndEnds)
{
    ASSERT_TRUE(panekitLibrary().isLoaded());
    for (const char* name : kPanekitBoundEntries)
        EXPECT_NE(panekitLibrary().entry<void (*)()>(name), nullptr) << name;
    panekitEntry<PanekitInitializeFn>("_Initialize")();
    panekitEntry<PanekitCleanupFn>("_Cleanup")();
    panekitEntry<PanekitCleanupFn>("_Cleanup")();
    EXPECT_FALSE(panekitEntry<PanekitIsUpdateModeFn>("IsUpdateMode")());
    EXPECT_FALSE(panekitEntry<PanekitIsFactoryModeFn>("IsFactoryMode")());
}

TEST(Panekit, CharArr2AnsiString)
{
    const auto fn = panekitEntry<PanekitCharArr2AnsiStringFn>("CharArr2AnsiString");
    struct Case {
        std::string bytes;
        int maximum;
        const char* text;
    };
    const Case cases[] = {
        {std::string("AB\xB5"
                     "CD",
                     5),
         10, "AB"},
        {std::string("ABC  \0", 6), 10, "ABC"},
        {std::string("\0ABC", 4), 10, ""},
        {"ABCDEFGH", 3, "ABC"},
        {"AB  CD", 4, "AB"},
        {std::string("AB\xB0\x80"
                     "C",
                     5),
         5,
         "AB\xB0\x80"
         "C"},  // 0xB0 itself and below are kept
        {"ABC\t\r\n", 6, "ABC"},
        {"ABC", 0, ""},
        {"ABC", -5, ""},
    };
    for (const auto& c : cases) {
        // Exactly the case's bytes on the heap: reading past them is caught by the address sanitizer.
        std::unique_ptr<char[]> data(new char[c.bytes.size()]);
        std::memcpy(data.get(), c.bytes.data(), c.bytes.size());
        EXPECT_EQ(textOf(fn, static_cast<const char*>(data.get()), c.maximum), c.text) << c.bytes;
    }
    // Nothing is read past the first zero byte, whatever the maximum.
    std::unique_ptr<char[]> shortField(new char[3]{'A', 'B', '\0'});
    EXPECT_EQ(textOf(fn, static_cast<const char*>(shortField.get()), 64), "AB");
    EXPECT_EQ(textOf(fn, static_cast<const char*>(nullptr), 10), "");
    // A small buffer gets the cut text and the whole length.
    char small[3];
    EXPECT_EQ(fn("ABCDE", 10, small, 3), 5);
    EXPECT_STREQ(small, "AB");
    EXPECT_EQ(fn("ABCDE", 10, nullptr, 0), 5);
}

TEST(Panekit, FormatFlt)
{
    const auto fn = panekitEntry<PanekitFormatFltFn>("FormatFlt");
    EXPECT_EQ(textOf(fn, 123.456f), "123.46");
    EXPECT_EQ(textOf(fn, -250.f), "-250.00");
    EXPECT_EQ(textOf(fn, 0.5f), "0.50000");
    EXPECT_EQ(textOf(fn, std::numeric_limits<float>::infinity()), "NAN");
}

TEST(Panekit, TimestampTokens)
{
    const auto toDate = panekitEntry<PanekitTimestampTokenToDateFn>("TimestampTokenToDate");
    const auto toToken = panekitEntry<PanekitDateToTimestampTokenFn>("DateToTimestampToken");
    const double march7 = 40975.0 + (14 * 3600 + 5 * 60 + 9) / 86400.0;  // 2012-03-07 14:05:09
    EXPECT_EQ(toToken(march7), 818864457u);
    EXPECT_DOUBLE_EQ(toDate(818864457u), march7);
    EXPECT_EQ(toDate(0), 36526.0);                      // 2000-01-01
    EXPECT_EQ(toToken(36525.5), kPanekitRefusedToken);  // 1999-12-31 12:00
    EXPECT_EQ(toToken(std::numeric_limits<double>::quiet_NaN()), kPanekitRefusedToken);
    EXPECT_EQ(toDate(kPanekitRefusedToken), 0.0);
}

TEST(Panekit, TimeTexts)
{
    EXPECT_EQ(textOf(panekitEntry<PanekitMsec2secAFn>("msec2secA"), 1234u), "1.234");
    EXPECT_EQ(textOf(panekitEntry<PanekitMsec2secAFn>("msec2secA"), 5u), "0.005");
    EXPECT_EQ(textOf(panekitEntry<PanekitSamp2secAFn>("samp2secA"), 90u), "1.500");
    EXPECT_EQ(textOf(panekitEntry<PanekitSamp2secAFn>("samp2secA"), 61u), "1.016");

    const auto toMsec = panekitEntry<PanekitSecA2msecFn>("secA2msec");
    const auto toSamples = panekitEntry<PanekitSecA2sampFn>("secA2samp");
    auto& d = testenv::dialogs();
    d.clear();
    bool ok = false;
    EXPECT_EQ(toMsec("2.05", &ok), 2050);
    EXPECT_TRUE(ok);
    EXPECT_EQ(toMsec(nullptr, &ok), 0);
    EXPECT_TRUE(ok);
    EXPECT_EQ(toSamples("1.5", &ok), 90);
    EXPECT_EQ(toSamples("abc", &ok), 0);
    EXPECT_FALSE(ok);
    EXPECT_TRUE(d.shown().empty());
    // The library's message reaches the program's dialog service.
    EXPECT_EQ(toMsec("abc", &ok), 0);
    EXPECT_FALSE(ok);
    EXPECT_EQ(d.texts(), QStringList{"\"abc\" is not numeric"});
}

TEST(Panekit, BroadcastAndGroupsOnTheProgramsWidgets)
{
    QWidget root;
    auto* box = new QGroupBox(&root);
    auto* edit = new QLineEdit(box);
    auto* inner = new QLabel(edit);
    auto* after = new QLabel(&root);
    std::vector<QObject*> seen;
    struct Filter : QObject {
        std::vector<QObject*>* seen;
        bool eventFilter(QObject* o, QEvent* e) override
        {
            if (e->type() == static_cast<QEvent::Type>(winmsg::WM_SEND_TO_DATABASE)) {
                seen->push_back(o);
                if (o->objectName() == "refuses")
                    static_cast<WinMessageEvent*>(e)->result = 1;
            }
            return false;
        }
    } filter;
    filter.seen = &seen;
    for (QObject* o : std::initializer_list<QObject*>{&root, box, edit, inner, after})
        o->installEventFilter(&filter);

    const auto broadcastFn = panekitEntry<PanekitDoMyBroadcastFn>("DoMyBroadcast");
    WinMessageEvent m(winmsg::WM_SEND_TO_DATABASE);
    broadcastFn(&root, &m, true, true);
    EXPECT_EQ(seen, (std::vector<QObject*>{box, edit, inner, after}));
    seen.clear();
    edit->setObjectName("refuses");
    WinMessageEvent m2(winmsg::WM_SEND_TO_DATABASE);
    broadcastFn(&root, &m2, false, true);
    EXPECT_EQ(seen, (std::vector<QObject*>{&root, box, edit}));
    EXPECT_EQ(m2.result, 1);

    panekitEntry<PanekitDisableGroupFn>("DisableGroup")(box);
    EXPECT_TRUE(edit->testAttribute(Qt::WA_ForceDisabled));
    EXPECT_FALSE(inner->testAttribute(Qt::WA_ForceDisabled));
    panekitEntry<PanekitEnableGroupFn>("EnableGroup")(box);
    EXPECT_TRUE(inner->isEnabled());
}

TEST(Panekit, LocalStatusBarMsgReadsUtf8)
{
    QMainWindow window;
    window.statusBar()->setObjectName("StatusLine");
    panekitEntry<PanekitLocalStatusBarMsgFn>("LocalStatusBarMsg")(
        &window, "Configuration successfully saved to file \"Mühle.cfg\"", 0x8000000F, false);
    EXPECT_EQ(window.statusBar()->currentMessage(),
              QString::fromUtf8("Configuration successfully saved to file \"Mühle.cfg\""));
    panekitEntry<PanekitLocalStatusBarMsgFn>("LocalStatusBarMsg")(nullptr, nullptr, 0, true);
}

TEST(Panekit, HelpContext)
{
    const auto fn = panekitEntry<PanekitGetHelpContextTORVAFn>("GetHelpContextTORVA");
    HelpfulWidget helpful;
    QWidget plain;
    EXPECT_EQ(fn(&helpful), 4711);
    EXPECT_EQ(fn(&plain), 0);
    EXPECT_EQ(fn(nullptr), 0);
}

TEST(Panekit, RequestsGoToTheMainForm)
{
    const auto poll = panekitEntry<PanekitRequestPollFn>("RequestPoll");
    const auto read = panekitEntry<PanekitRequestReadFn>("RequestRead");
    auto& d = testenv::dialogs();
    d.clear();
    {
        MainForm form;
        appcontext::setMainForm(&form);
        poll(3);
        read(-1);
        EXPECT_EQ(form.received, (std::vector<std::pair<int, std::intptr_t>>{{winmsg::WM_REQUEST_POLL, 3},
                                                                             {winmsg::WM_REQUEST_READ, -1}}));
        appcontext::setMainForm(nullptr);
    }
    EXPECT_TRUE(d.shown().empty());
    poll(1);
    EXPECT_EQ(d.texts(), QStringList{"Error in sending Message from DLL"});
}

TEST(Panekit, IniFileLiesInTheDataDirectory)
{
    EXPECT_EQ(QString::fromStdString(textOf(panekitEntry<PanekitGetIniFileFn>("GetIniFile"))),
              testenv::dataHome() + "/KVT515/TORVA.INI");
}

TEST(Panekit, StdDevAndMean)
{
    const double values[] = {2, 4, 4, 4, 5, 5, 7, 9};
    double mean = 0, dev = 0;
    panekitEntry<PanekitStdDevAndMeanFn>("StdDevAndMean")(values, 8, &mean, &dev);
    EXPECT_DOUBLE_EQ(mean, 5.0);
    EXPECT_NEAR(dev, 2.138, 5e-4);
}

#include "panekit_test.moc"

#include "pagecatalog.h"

#include "alarmpage.h"
#include "analoginputpage.h"
#include "analysispage.h"
#include "archiveviewer.h"
#include "auditpage.h"
#include "boardtester.h"
#include "commportspage.h"
#include "discreteinputpage.h"
#include "factorypage.h"
#include "globalpage.h"
#include "iostatuspage.h"
#include "modbuspage.h"
#include "outputpage.h"
#include "sequencerpage.h"
#include "streamspage.h"
#include "timerspage.h"

namespace {

template <typename T>
constexpr PageMaker page()
{
    return {T::kDecl,
            [](const PageServices& services, QWidget* owner) -> TPageFrame* { return new T(services, owner); }};
}

}  // namespace

const std::array<PageMaker, kPageCount>& pageCatalog()
{
    // Every entry must be given: PageMaker holds a reference, so a list shorter than kPageCount
    // does not compile.
    static const std::array<PageMaker, kPageCount> pages = {
        page<TfraWW>(),
        page<TfrmIOStatus>(),
        page<TfrmAlarm>(),
        page<TfraArchiveViewer>(),
        page<TfraAnalyzerGlobal>(),
        page<TfraAnalyzerStreams>(),
        page<TfraIO>(),
        page<TfrmInput2>(),
        page<TfraOutput>(),
        page<TfraCommPorts>(),
        page<TfraModbus>(),
        page<TfraFactory>(),
        page<TfrAnalogInputs>(),
        page<TfrmTimer1>(),
        page<TfraBoardTester>(),
        page<TfrSequencer>(),
        page<TfrmAudit>(),
    };
    return pages;
}

const PageDecl* pageDeclForTab(int tab)
{
    for (const PageMaker& maker : pageCatalog())
        if (maker.decl.tab == tab)
            return &maker.decl;
    return nullptr;
}

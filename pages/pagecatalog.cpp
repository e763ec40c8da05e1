#include "pagecatalog.h"

#include "alarmpage.h"
#include "analoginputpage.h"
#include "boardtester.h"
#include "commportspage.h"
#include "discreteinputpage.h"
#include "factorypage.h"
#include "globalpage.h"
#include "modbuspage.h"
#include "outputpage.h"
#include "resultframes.h"
#include "schedulingframes.h"

#include <array>

namespace {

template <typename T>
PageMaker page()
{
    return {T::kDecl, [](QWidget* owner) -> QWidget* { return new T(owner); }};
}

}  // namespace

const std::vector<PageMaker>& pageCatalog()
{
    static const std::vector<PageMaker> pages = {
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

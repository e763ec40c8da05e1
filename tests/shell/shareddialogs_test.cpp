#include "shareddialogs.h"
#include "securitychk.h"
#include "testenv.h"
#include "waitwindow.h"

#include <gtest/gtest.h>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>

TEST(SharedDialogs, TextsAndNames)
{
    TAboutForm about;
    EXPECT_EQ(about.windowTitle(), "About");
    EXPECT_EQ(about.findChild<QLabel*>("txtVer")->text(), "v1.09a");
    EXPECT_EQ(about.findChild<QLabel*>("ReleaseTime")->text(), "Nov.13,2019");

    TfrmSplash splash;
    EXPECT_EQ(splash.windowTitle(), "Sentrel515 Analyzer Graphical User Interface");
    EXPECT_EQ(splash.ProgressBar1()->maximum(), 20);
    for (int i = 0; i < 25; ++i)
        splash.Step(i == 0 ? "Loading Sentrel515 Desktop...Analysis" : QString());
    EXPECT_EQ(splash.ProgressBar1()->value(), 20);
    EXPECT_EQ(splash.Label1()->text(), "Loading Sentrel515 Desktop...Analysis");

    TWait wait;
    EXPECT_EQ(wait.windowTitle(), "Information");
    EXPECT_EQ(wait.objectName(), "Wait");
    ASSERT_NE(wait.findChild<QProgressBar*>("Progress"), nullptr);
    ASSERT_NE(wait.findChild<QLabel*>("AniIcon1"), nullptr);
}

TEST(SharedDialogs, DateRangeOrdersTheDatesAndScaleKeepsItsTexts)
{
    TfrmDateRangeDlg range;
    EXPECT_EQ(range.windowTitle(), "Select Date Range");
    range.DateTime1()->setDate(QDate(2024, 5, 9));
    range.DateTime2()->setDate(QDate(2024, 5, 1));
    EXPECT_EQ(range.Start(), QDate(2024, 5, 1));
    EXPECT_EQ(range.End(), QDate(2024, 5, 9));

    TfrmScaleDlg scale;
    EXPECT_EQ(scale.windowTitle(), "Set Scale for Y-axis");
    double lo = 0, hi = 0;
    ASSERT_TRUE(scale.Range(lo, hi));
    EXPECT_EQ(lo, 0);
    EXPECT_EQ(hi, 100);
    scale.ledMinY()->setText("-2.5");
    scale.ledMaxY()->setText("abc");
    EXPECT_FALSE(scale.Range(lo, hi));
}

TEST(SharedDialogs, MissingDocumentAndSuspendWarning)
{
    SecurityChk::Instance()->SetDataDirectory();
    testenv::dialogs().clear();
    EXPECT_FALSE(helpdocs::OpenDocument(helpdocs::kManual));
    ASSERT_EQ(testenv::dialogs().texts().size(), 1);
    EXPECT_TRUE(testenv::dialogs().texts()[0].contains("515 manual - Rev 8 Feb 27 2012.pdf"));

    testenv::dialogs().clear();
    ShowSuspendWarning();
    ASSERT_EQ(testenv::dialogs().shown().size(), 1u);
    EXPECT_EQ(testenv::dialogs().shown()[0].caption, "Attention");
    EXPECT_EQ(testenv::dialogs().shown()[0].text,
              "Sentrel515 found power suspended, click OK button to continue.\n If the communication has problem, "
              "please recycle the communication port.");
    SecurityChk::ReleaseInstance();
}

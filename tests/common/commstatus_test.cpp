#include "commstatus.h"

#include <gtest/gtest.h>
#include <string>

// The library's texts and the program's own share one table: every status has its words, and a
// value without any gives the empty text, never null.
TEST(CommStatus, TextOfEveryStatus)
{
    struct Case {
        int status;
        const char* text;
    };
    const Case cases[] = {
        {commstatus::kSuccess, "Success."},
        {commstatus::kWaiting, "Currently waiting for response to communication."},
        {commstatus::kInvalidResponse, "Invalid response was received."},
        {commstatus::kRejected, "The unit has reported an error with the request that was sent."},
        {commstatus::kNoResponse, "No Response from unit."},
        {commstatus::kPortNotOpen, "Com port not open."},
        {commstatus::kCancelled, "Cancelled by user."},
        {commstatus::kIndexMismatch, "Entry index of response doesn't match request."},
        {commstatus::kUnexpectedResponse, "Unexpected response type received."},
        {-1, ""},
        {7, ""},
        {19, ""},
        {22, ""},
    };
    for (const auto& c : cases) {
        ASSERT_NE(commstatus::text(c.status), nullptr) << c.status;
        EXPECT_EQ(std::string(commstatus::text(c.status)), c.text) << c.status;
    }
    EXPECT_TRUE(commstatus::isLinkStatus(commstatus::kSuccess));
    EXPECT_TRUE(commstatus::isLinkStatus(commstatus::kCancelled));
    EXPECT_FALSE(commstatus::isLinkStatus(-1));
    EXPECT_FALSE(commstatus::isLinkStatus(commstatus::kIndexMismatch));
}

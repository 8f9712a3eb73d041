#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/command_routing.h"

namespace {

class RecordingTarget final : public CommandTarget {
public:
    std::vector<std::string> calls;

    void ToggleMove() override { calls.push_back("ToggleMove"); }
    void Exit() override { calls.push_back("Exit"); }
    void ShowEditor() override { calls.push_back("ShowEditor"); }
    void ShowPanel() override { calls.push_back("ShowPanel"); }
    void PlayCurrent() override { calls.push_back("PlayCurrent"); }
    void StopPlayback() override { calls.push_back("StopPlayback"); }
    void NextTrack() override { calls.push_back("NextTrack"); }
    void PreviousTrack() override { calls.push_back("PreviousTrack"); }
};

TEST(RouteCommand, EachMenuCommandReachesItsOperationOnce) {
    struct Case {
        int id;
        const char* operation;
    };
    const Case cases[] = {
        {40001, "ToggleMove"}, {40002, "Exit"},         {40008, "ShowEditor"}, {40009, "ShowPanel"},
        {40011, "PlayCurrent"}, {40012, "StopPlayback"}, {40013, "NextTrack"},  {40014, "PreviousTrack"},
    };
    for (const Case& c : cases) {
        RecordingTarget target;
        RouteCommand(target, c.id);
        EXPECT_EQ(target.calls, std::vector<std::string>{c.operation}) << c.id;
    }
}

TEST(RouteCommand, OtherIdsDoNothing) {
    // 40003-40007 are the playlist editor's own menu; the rest are unknown.
    const int ids[] = {0, 1, 40000, 40003, 40004, 40005, 40006, 40007, 40010, 40015, 65535};
    for (int id : ids) {
        RecordingTarget target;
        RouteCommand(target, id);
        EXPECT_TRUE(target.calls.empty()) << id;
    }
}

}  // namespace

#include "MessageMap.h"

#include <gtest/gtest.h>

namespace {

struct Target {
    int Saved = 0;
    int Changed = 0;
    bool Sized = false;
    void OnSave() { ++Saved; }
    void OnChange() { ++Changed; }
    bool OnSize(WPARAM, LPARAM) {
        Sized = true;
        return true;
    }
    bool OnPaint(WPARAM, LPARAM) { return false; }
};

constexpr CommandEntry<Target> Commands[] = {
    {100, CommandCode, &Target::OnSave},
    {200, EN_CHANGE, &Target::OnChange},
};
constexpr MessageEntry<Target> Messages[] = {
    {WM_SIZE, &Target::OnSize},
    {WM_PAINT, &Target::OnPaint},
};

TEST(MessageMap, CommandCodeMatchesMenuAcceleratorAndClick) {
    Target target;
    EXPECT_TRUE(RouteCommandFrom(target, Commands, 100, 0));
    EXPECT_TRUE(RouteCommandFrom(target, Commands, 100, 1));
    EXPECT_FALSE(RouteCommandFrom(target, Commands, 100, EN_SETFOCUS));
    EXPECT_EQ(target.Saved, 2);
}

TEST(MessageMap, NotificationEntryMatchesOnlyItsCode) {
    Target target;
    EXPECT_FALSE(RouteCommandFrom(target, Commands, 200, 0));
    EXPECT_TRUE(RouteCommandFrom(target, Commands, 200, EN_CHANGE));
    EXPECT_EQ(target.Changed, 1);
    EXPECT_EQ(target.Saved, 0);
}

TEST(MessageMap, UnlistedCommandIsNotHandled) {
    Target target;
    EXPECT_FALSE(RouteCommandFrom(target, Commands, 300, 0));
}

TEST(MessageMap, MessageHandlerSaysWhetherItHandled) {
    Target target;
    EXPECT_TRUE(RouteMessageFrom(target, Messages, WM_SIZE, 0, 0));
    EXPECT_TRUE(target.Sized);
    EXPECT_FALSE(RouteMessageFrom(target, Messages, WM_PAINT, 0, 0));
    EXPECT_FALSE(RouteMessageFrom(target, Messages, WM_CLOSE, 0, 0));
}

}  // namespace

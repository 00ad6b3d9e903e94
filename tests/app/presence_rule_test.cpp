// The rule of what the user sees, on every platform: every presence with
// every event, what each shows, and which event each click on the icon is.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "app/presence.h"

namespace kestrin::app {
namespace {

using enum Shown;
using enum PresenceEvent;

constexpr std::array<Shown, 4> kShown{Starting, InTray, FromTray, WithIcon};
const char* Name(Shown shown) {
    constexpr const char* kNames[] = {"Starting", "InTray", "FromTray", "WithIcon"};
    return kNames[static_cast<int>(shown)];
}

// What a waiting minimise does under a box: set, cleared, or left as it was.
enum Waits { Set, Clear, Keep };

struct Row {
    PresenceEvent event;
    const char* name;
    // After the event from Starting, InTray, FromTray, WithIcon: without a
    // box, and under one (nothing waiting before).
    std::array<Shown, 4> plain;
    std::array<Shown, 4> underBox;
    // A minimise waiting for the box after the event, by the same order.
    std::array<Waits, 4> waits;
    // The session's end still takes the icon away after the event.
    bool endingStays;
};

constexpr Shown S = Starting, T = InTray, F = FromTray, W = WithIcon;

const std::vector<Row> kRows{
    {HideApplication, "HideApplication", {T, T, T, T}, {S, T, F, W}, {Keep, Keep, Keep, Keep}, false},
    {LeftClick, "LeftClick", {F, F, T, F}, {S, T, F, W}, {Clear, Clear, Set, Clear}, false},
    {DoubleClick, "DoubleClick", {W, W, F, W}, {S, T, F, W}, {Clear, Clear, Clear, Clear}, false},
    {OtherClick, "OtherClick", {W, W, F, W}, {S, T, F, W}, {Clear, Clear, Clear, Clear}, false},
    {Minimise, "Minimise", {T, T, T, T}, {S, T, F, W}, {Clear, Clear, Set, Set}, false},
    {Restore, "Restore", {F, F, F, W}, {S, T, F, W}, {Clear, Clear, Clear, Clear}, false},
    {ShellRestarted, "ShellRestarted", {T, T, F, W}, {T, T, F, W}, {Keep, Keep, Keep, Keep}, false},
    {SessionEnding, "SessionEnding", {S, T, F, W}, {S, T, F, W}, {Keep, Keep, Keep, Keep}, true},
    {SessionResumed, "SessionResumed", {T, T, F, W}, {T, T, F, W}, {Keep, Keep, Keep, Keep}, false},
    {IconGivenUp, "IconGivenUp", {S, T, F, W}, {S, T, F, W}, {Keep, Keep, Keep, Keep}, true},
    {CloseRequested, "CloseRequested", {S, T, F, W}, {S, T, F, W}, {Keep, Keep, Keep, Keep}, true},
    {CloseAtMainWindow, "CloseAtMainWindow", {S, T, F, W}, {S, T, F, W}, {Keep, Keep, Keep, Keep}, true},
    {CloseAtTaskbarWindow, "CloseAtTaskbarWindow", {S, T, F, W}, {S, T, F, W}, {Keep, Keep, Keep, Keep}, true},
    {CloseAtNotificationWindow, "CloseAtNotificationWindow", {S, T, F, W}, {S, T, F, W}, {Keep, Keep, Keep, Keep}, true},
    {CloseAbandoned, "CloseAbandoned", {S, T, F, W}, {S, T, F, W}, {Keep, Keep, Keep, Keep}, true},
    {BoxOpened, "BoxOpened", {S, T, F, W}, {S, T, F, W}, {Keep, Keep, Keep, Keep}, true},
};

constexpr OpenBox kAbout{Box::About, BoxOwner::MainWindow};

Presence Of(Shown shown, OpenBox box = {}, bool sessionEnding = false, bool minimisePending = false,
            bool iconGivenUp = false) {
    Presence presence;
    presence.shown = shown;
    presence.box = box;
    presence.sessionEnding = sessionEnding;
    presence.minimisePending = minimisePending;
    presence.iconGivenUp = iconGivenUp;
    return presence;
}

// Close attempts made by a sequence of close messages while config.cfg cannot
// be written, so each attempt opens its error box: M, T and N are WM_CLOSE at
// the main, task-bar and notification windows, U the user's own close, b the
// box's own WM_CLOSE (or OK) that ends the innermost error box.
int Attempts(const std::string& sequence) {
    Presence presence = Of(InTray);
    int attempts = 0;
    const auto request = [&](PresenceEvent event) {
        const bool attempting = presence.closing;
        presence = After(presence, event);
        if (attempting || !presence.closing) return;
        ++attempts;
        presence = After(presence, BoxOpened, {Box::Error, BoxOwner::TaskbarWindow});
    };
    for (const char step : sequence) {
        switch (step) {
            case 'M': request(CloseAtMainWindow); break;
            case 'T': request(CloseAtTaskbarWindow); break;
            case 'N': request(CloseAtNotificationWindow); break;
            case 'U': request(CloseRequested); break;
            default:
                presence = After(After(presence, BoxClosed), CloseAbandoned);
                if (CloseDue(presence)) request(CloseRequested);
                break;
        }
    }
    return attempts;
}

TEST(PresenceRuleTest, EveryPresenceWithEveryEventAndEveryClick) {
    for (const Row& row : kRows) {
        for (std::size_t i = 0; i < kShown.size(); ++i) {
            SCOPED_TRACE(testing::Message() << row.name << " from " << Name(kShown[i]));
            const Presence plain = Of(kShown[i], {}, true, false, true);
            const Presence afterPlain = After(plain, row.event, kAbout);
            EXPECT_EQ(afterPlain.shown, row.plain[i]);
            EXPECT_EQ(afterPlain.sessionEnding, row.endingStays);
            EXPECT_EQ(afterPlain.iconGivenUp, row.endingStays);
            for (const bool waiting : {false, true}) {
                Presence boxed = plain;
                boxed.box = kAbout;
                boxed.minimisePending = waiting;
                const Presence after = After(boxed, row.event, kAbout);
                EXPECT_EQ(after.shown, row.underBox[i]);
                EXPECT_EQ(after.box, kAbout);
                EXPECT_EQ(after.minimisePending, row.waits[i] == Set || (row.waits[i] == Keep && waiting))
                    << (waiting ? "a minimise waiting" : "none waiting");
            }
        }
    }

    // The box's end carries out a minimise that waited for it, and no other.
    for (const Shown shown : kShown) {
        SCOPED_TRACE(Name(shown));
        const Presence waiting = Of(shown, kAbout, false, true);
        EXPECT_EQ(After(waiting, BoxClosed), Of(InTray));
        const Presence nested = After(waiting, BoxClosed, {Box::Error, BoxOwner::TaskbarWindow});
        EXPECT_EQ(nested.shown, shown);
        EXPECT_TRUE(nested.minimisePending);
        EXPECT_EQ(After(Of(shown, kAbout), BoxClosed), Of(shown));
    }

    // One close at a time, none under a box: a later request waits its turn.
    const Presence closing = After(Of(InTray), CloseRequested);
    EXPECT_TRUE(closing.closing);
    EXPECT_FALSE(CloseDue(closing));
    const Presence twice = After(closing, CloseRequested);
    EXPECT_TRUE(twice.closePending);
    EXPECT_TRUE(CloseDue(After(twice, CloseAbandoned)));
    const Presence underBox = After(Of(InTray, kAbout), CloseRequested);
    EXPECT_FALSE(underBox.closing);
    EXPECT_FALSE(CloseDue(underBox));
    EXPECT_TRUE(CloseDue(After(underBox, BoxClosed)));
    EXPECT_FALSE(After(After(underBox, BoxClosed), CloseRequested).closePending);

    // taskkill: one WM_CLOSE at each window, in any order, before, under or
    // after the box of the attempt the first one started, is one request; a
    // second taskkill under that box (its message to the box among them) is
    // one more; the user's own close is a request each time.
    std::string windows = "MNT";
    do {
        for (std::size_t first = 1; first <= 3; ++first) {
            const std::string once = windows.substr(0, first) + "b" + windows.substr(first);
            EXPECT_EQ(Attempts(once), 1) << once;
            EXPECT_EQ(Attempts(once + "U"), 2) << once;
        }
        std::string second = "MNTb";
        do {
            EXPECT_EQ(Attempts(windows + second), 2) << windows << second;
        } while (std::next_permutation(second.begin(), second.end()));
    } while (std::next_permutation(windows.begin(), windows.end()));
    EXPECT_EQ(Attempts("UbMTN"), 2);
    EXPECT_EQ(Attempts("MbUTNb"), 2);
    EXPECT_EQ(Attempts("TbTbT"), 3);

    // What each presence shows, and where an activation puts the keyboard.
    struct SceneRow {
        Presence presence;
        Scene scene;
    };
    for (const SceneRow& row : std::vector<SceneRow>{
             {Of(Starting), {false, false, false, Foreground::Elsewhere}},
             {Of(InTray), {false, false, true, Foreground::Elsewhere}},
             {Of(FromTray), {true, true, false, Foreground::MainWindow}},
             {Of(WithIcon), {true, true, true, Foreground::MainWindow}},
             {Of(InTray, {}, true), {false, false, false, Foreground::Elsewhere}},
             {Of(WithIcon, {}, true), {true, true, false, Foreground::MainWindow}},
             {Of(InTray, {Box::Error, BoxOwner::TaskbarWindow}), {false, false, true, Foreground::Box}},
             {Of(FromTray, kAbout), {true, true, false, Foreground::Box}},
             {Of(Starting, {Box::SwitchWarning, BoxOwner::None}), {false, false, false, Foreground::Box}},
             // The task-bar button, minimised, stands in for an icon the shell refused.
             {Of(InTray, {}, false, false, true), {false, true, true, Foreground::Elsewhere}},
             {Of(WithIcon, {}, false, false, true), {true, true, true, Foreground::MainWindow}},
             {Of(InTray, {Box::Error, BoxOwner::TaskbarWindow}, false, false, true), {false, false, true, Foreground::Box}},
         }) {
        const Scene scene = SceneOf(row.presence);
        EXPECT_EQ(scene.window, row.scene.window) << Name(row.presence.shown);
        EXPECT_EQ(scene.taskbarButton, row.scene.taskbarButton) << Name(row.presence.shown);
        EXPECT_EQ(scene.icon, row.scene.icon) << Name(row.presence.shown);
        EXPECT_EQ(scene.foreground, row.scene.foreground) << Name(row.presence.shown);
    }

    // Which event a click on the icon is.
    struct ClickRow {
        ui::TMouseButton button;
        bool doubleClick;
        PresenceEvent event;
    };
    for (const ClickRow& row : std::vector<ClickRow>{{ui::mbLeft, false, LeftClick},
                                                      {ui::mbRight, false, OtherClick},
                                                      {ui::mbMiddle, false, OtherClick},
                                                      {ui::mbLeft, true, DoubleClick},
                                                      {ui::mbRight, true, DoubleClick},
                                                      {ui::mbMiddle, true, DoubleClick}}) {
        EXPECT_EQ(ClickEvent(row.button, row.doubleClick), row.event)
            << static_cast<int>(row.button) << (row.doubleClick ? " double" : " single");
    }
}

}  // namespace
}  // namespace kestrin::app

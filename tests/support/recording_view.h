#pragma once
// What the monitor's logic shows the user, recorded: every call in order as
// text in `calls`, the list's rows also apart in `rows`. The test sets the
// balloon switch, a list that refuses rows and a close under the switch
// warning.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/text.h"
#include "core/user_view.h"

namespace kestrin::test {

class RecordingView final : public core::EntryList,
                            public core::Balloons,
                            public core::FormControls,
                            public core::TrayPresence {
public:
    // "<what> <text>"; appended piecewise, as mingw's g++ 12 warns wrongly of
    // overlapping copies in `literal + string`.
    static std::string Call(const char* what, const std::u16string& text) {
        std::string call = what;
        call += ' ';
        call += base::Utf16ToUtf8(text);
        return call;
    }

    core::UserView View() { return {*this, *this, *this, *this}; }

    void SetListOwnerDrawFixed() override { calls.push_back("ownerdraw"); }
    void AddListEntry(const std::u16string& line, std::uint32_t colour) override {
        if (failAdd) throw std::runtime_error("Zeile kann nicht eingefügt werden");
        rows.push_back(line);
        calls.push_back(Call(("add " + std::to_string(colour)).c_str(), line));
    }
    void SetListHorizontalExtent(int width) override { calls.push_back("extent " + std::to_string(width)); }

    void BalloonHint(const std::u16string& title, const std::u16string& value, core::TBalloonType balloonType,
                     int delayMilliseconds, bool cancelPrevious) override {
        calls.push_back(Call("balloon", title) + "|" + std::to_string(balloonType) + "|" +
                        std::to_string(delayMilliseconds) + "|" + (cancelPrevious ? "cancel" : "keep") + "|" +
                        base::Utf16ToUtf8(value));
    }

    void SetBalloonSwitch(bool ticked) override {
        balloonSwitch = ticked;
        calls.push_back(std::string("balloon switch ") + (ticked ? "on" : "off"));
    }
    bool BalloonSwitch() const override { return balloonSwitch; }
    void SetSwitchSummary(const std::u16string& text) override { calls.push_back(Call("Label1", text)); }
    void SetPublicAddress(const std::u16string& text) override { calls.push_back(Call("Label2", text)); }
    bool ShowSwitchWarning(const std::u16string& text) override {
        calls.push_back(Call("warning", text));
        return !closeUnderWarning;
    }

    void RegisterMinimiseHook() override { calls.push_back("minimise hook"); }
    void ActivateTrayIcon() override { calls.push_back("tray active on"); }
    void HideApplication() override { calls.push_back("hide application"); }
    void HideMainWindow() override { calls.push_back("hide window"); }

    std::vector<std::string> calls;
    std::vector<std::u16string> rows;
    bool balloonSwitch = true;  // the menu is defined ticked
    bool failAdd = false;
    // A close asked for while the switch warning showed.
    bool closeUnderWarning = false;
};

}  // namespace kestrin::test

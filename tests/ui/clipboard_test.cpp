// "Cop&y line": the selected row's text to the clipboard, or nothing.

#include <gtest/gtest.h>
#include <windows.h>

#include <future>
#include <string>
#include <thread>

#include "base/exception.h"
#include "main_window_fixture.h"
#include "ui/clipboard_win32.h"
#include "ui/popup_menu_win32.h"
#include "ui/ui_errors.h"

namespace kestrin::test {
namespace {

std::u16string ClipboardText() {
    if (!::OpenClipboard(nullptr)) return u"<not opened>";
    std::u16string text = u"<no text>";
    if (const HANDLE data = ::GetClipboardData(CF_UNICODETEXT); data != nullptr) {
        if (const auto* characters = static_cast<const char16_t*>(::GlobalLock(data)); characters != nullptr) {
            text = characters;
            ::GlobalUnlock(data);
        }
    }
    ::CloseClipboard();
    return text;
}

// Another thread holds the clipboard open for as long as this lives, as
// another program might.
class ClipboardHeldElsewhere {
public:
    ClipboardHeldElsewhere() {
        std::future<bool> isOpen = opened_.get_future();
        holder_ = std::thread([this] {
            opened_.set_value(::OpenClipboard(nullptr) != FALSE);
            release_.get_future().wait();
            ::CloseClipboard();
        });
        held_ = isOpen.get();
    }
    ~ClipboardHeldElsewhere() {
        release_.set_value();
        holder_.join();
    }
    ClipboardHeldElsewhere(const ClipboardHeldElsewhere&) = delete;
    ClipboardHeldElsewhere& operator=(const ClipboardHeldElsewhere&) = delete;

    bool Held() const { return held_; }

private:
    std::promise<bool> opened_;
    std::promise<void> release_;
    std::thread holder_;
    bool held_ = false;
};

class CopyLineTest : public MainWindowTest {
protected:
    void SetUp() override {
        ui::ReplaceClipboardText(nullptr, u"before");
        window.SetListOwnerDrawFixed();
    }
};

TEST_F(CopyLineTest, CopiesTheSelectedRowExactly) {
    window.AddListEntry(u"first", 0x00FFFFFF);
    window.AddListEntry(u"Tue 08.12.2026 10:15:03 : router >>SYSDAEMON.Info<<<30>DHCPACK \u00A9", 0x00FFFFFF);
    Select(1);
    window.Copyline1Click();
    EXPECT_EQ(ClipboardText(), u"Tue 08.12.2026 10:15:03 : router >>SYSDAEMON.Info<<<30>DHCPACK \u00A9");
}

TEST_F(CopyLineTest, LeavesTheClipboardAloneWithoutASelectedText) {
    window.Copyline1Click();  // no rows
    EXPECT_EQ(ClipboardText(), u"before");

    window.AddListEntry(u"row", 0x00FFFFFF);
    window.AddListEntry(u"", 0x00FFFFFF);
    window.Copyline1Click();  // no selection
    EXPECT_EQ(ClipboardText(), u"before");

    Select(1);
    window.Copyline1Click();  // an empty row
    EXPECT_EQ(ClipboardText(), u"before");
}

TEST_F(CopyLineTest, ClipboardHeldElsewhereIsAnErrorThatReachesTheApplication) {
    window.AddListEntry(u"row", 0x00FFFFFF);
    Select(0);
    ClipboardHeldElsewhere holder;
    ASSERT_TRUE(holder.Held());
    try {
        window.Copyline1Click();
        ADD_FAILURE() << "expected EClipboardError";
    } catch (const ui::EClipboardError& error) {
        const std::u16string& message = error.Message();
        EXPECT_EQ(message.rfind(u"Zwischenablage ", 0), 0u) << error.what();
        EXPECT_TRUE(message.ends_with(u" kann nicht ge\u00F6ffnet werden")) << error.what();
        EXPECT_EQ(message.find(u'\n'), std::u16string::npos) << error.what();
    }

    // Through the menu command the window procedure hands the error over.
    ::SendMessageW(window.Handle(), WM_COMMAND, MAKEWPARAM(ui::kCopyline1Id, 0), 0);
    ASSERT_EQ(events.errors.size(), 1u);
    EXPECT_THROW(std::rethrow_exception(events.errors[0]), ui::EClipboardError);
}

}  // namespace
}  // namespace kestrin::test

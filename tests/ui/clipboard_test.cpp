// "Cop&y line": the selected row's text to the clipboard, or nothing.

#include <gtest/gtest.h>
#include <windows.h>

#include <array>
#include <filesystem>
#include <optional>
#include <string>

#include "base/exception.h"
#include "base/unique_handle.h"
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

void CloseKernelHandle(HANDLE handle) noexcept { ::CloseHandle(handle); }
using KernelHandle = base::UniqueHandle<HANDLE, CloseKernelHandle>;

// Another program holds the clipboard open: for good, until this is
// destroyed, or for `milliseconds` from the moment Held() turns true.
class ClipboardHeldElsewhere {
public:
    explicit ClipboardHeldElsewhere(std::optional<int> milliseconds = std::nullopt) {
        SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
        HANDLE inRead = nullptr, inWrite = nullptr, outRead = nullptr, outWrite = nullptr;
        if (!::CreatePipe(&inRead, &inWrite, &inherited, 0)) return;
        const KernelHandle childIn(inRead);
        input_ = KernelHandle(inWrite);
        if (!::CreatePipe(&outRead, &outWrite, &inherited, 0)) return;
        const KernelHandle output(outRead), childOut(outWrite);
        ::SetHandleInformation(inWrite, HANDLE_FLAG_INHERIT, 0);
        ::SetHandleInformation(outRead, HANDLE_FLAG_INHERIT, 0);

        std::wstring commandLine = L"\"" + (TestDirectory() / "clipboard_holder.exe").wstring() + L"\"";
        if (milliseconds) commandLine += L" " + std::to_wstring(*milliseconds);
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = inRead;
        startup.hStdOutput = startup.hStdError = outWrite;
        PROCESS_INFORMATION started{};
        if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                              &started)) {
            return;
        }
        ::CloseHandle(started.hThread);
        process_ = KernelHandle(started.hProcess);

        // Its first line (ending in CR LF) says that it has the clipboard;
        // the end of the pipe, that it never got it.
        std::string line;
        char next = 0;
        DWORD read = 0;
        while (next != '\n' && ::ReadFile(outRead, &next, 1, &read, nullptr) && read == 1) line += next;
        held_ = line.starts_with("held");
    }
    ~ClipboardHeldElsewhere() {
        input_ = KernelHandle();
        if (process_) ::WaitForSingleObject(process_.Get(), INFINITE);
    }
    ClipboardHeldElsewhere(const ClipboardHeldElsewhere&) = delete;
    ClipboardHeldElsewhere& operator=(const ClipboardHeldElsewhere&) = delete;

    bool Held() const { return held_; }

private:
    static std::filesystem::path TestDirectory() {
        std::array<wchar_t, MAX_PATH> path{};
        ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        return std::filesystem::path(path.data()).parent_path();
    }

    KernelHandle input_;
    KernelHandle process_;
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

// Clipboard histories and the like hold it for a moment after every change.
TEST_F(CopyLineTest, AClipboardHeldForAMomentIsWaitedFor) {
    window.AddListEntry(u"row", 0x00FFFFFF);
    Select(0);
    ClipboardHeldElsewhere holder(50);
    ASSERT_TRUE(holder.Held());
    ::SendMessageW(window.Handle(), WM_COMMAND, MAKEWPARAM(ui::kCopyline1Id, 0), 0);
    EXPECT_TRUE(events.errors.empty());
    EXPECT_EQ(ClipboardText(), u"row");
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

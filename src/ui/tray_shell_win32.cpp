#include <windows.h>

#include <shellapi.h>

#include <vector>

#include "ui/tray_shell.h"

namespace kestrin::ui {

namespace {

ShellVersion ReadShellVersion() {
    const wchar_t* const file = L"shell32.dll";
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeW(file, &ignored);
    if (size == 0) return {};
    std::vector<unsigned char> block(size);
    if (!::GetFileVersionInfoW(file, 0, size, block.data())) return {};
    VS_FIXEDFILEINFO* info = nullptr;
    UINT length = 0;
    if (!::VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&info), &length) || info == nullptr ||
        length < sizeof *info) {
        return {};
    }
    return {static_cast<int>(HIWORD(info->dwFileVersionMS)), static_cast<int>(LOWORD(info->dwFileVersionMS))};
}

class Shell final : public TrayShell {
public:
    bool NotifyIcon(DWORD message, const TNotifyIconDataXP& data) override {
        // The record is the prefix of NOTIFYICONDATAW its cbSize announces.
        auto* record = reinterpret_cast<NOTIFYICONDATAW*>(const_cast<TNotifyIconDataXP*>(&data));
        return ::Shell_NotifyIconW(message, record) != FALSE;
    }
    ShellVersion Version() override {
        static const ShellVersion version = ReadShellVersion();
        return version;
    }
    void StartTimer(HWND window, UINT_PTR id, UINT milliseconds) override { ::SetTimer(window, id, milliseconds, nullptr); }
    void StopTimer(HWND window, UINT_PTR id) override { ::KillTimer(window, id); }
};

}  // namespace

TrayShell& SystemTrayShell() {
    static Shell shell;
    return shell;
}

}  // namespace kestrin::ui

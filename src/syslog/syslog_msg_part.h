#pragma once
// The MSG part of a syslog message, split into tag (process name), process id
// and content: "dnsmasq[412]: query done".

#include <cstdint>
#include <string>
#include <string_view>

namespace kestrin::syslog {

class TIdSysLogMsgPart {
public:
    // Process, "[PID]" when available, ": " and Content; "" instead of a bare ": ".
    std::u16string Text() const;
    // Splits a MSG text into the four fields.
    void SetText(std::u16string_view text);

    bool PIDAvailable() const { return FPIDAvailable; }
    void SetPIDAvailable(bool available) { FPIDAvailable = available; }

    const std::u16string& Process() const { return FProcess; }
    // Keeps only the leading run of at most 32 ASCII letters and digits.
    void SetProcess(std::u16string_view process);

    std::int32_t PID() const { return FPID; }
    // -1 means "no process id".
    void SetPID(std::int32_t pid);

    const std::u16string& Content() const { return FContent; }
    void SetContent(std::u16string_view content) { FContent = content; }

    // Copies another part through its joined text.
    void Assign(const TIdSysLogMsgPart& source);

private:
    bool FPIDAvailable = false;
    std::u16string FProcess;
    std::int32_t FPID = 0;
    std::u16string FContent;
};

}  // namespace kestrin::syslog

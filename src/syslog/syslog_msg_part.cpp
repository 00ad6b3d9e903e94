#include "syslog/syslog_msg_part.h"

#include "base/text.h"
#include "syslog/syslog_text_rules.h"

namespace kestrin::syslog {

namespace {

constexpr std::int32_t kNoPid = -1;

}  // namespace

std::u16string TIdSysLogMsgPart::Text() const {
    std::u16string text = FProcess;
    if (FPIDAvailable) {
        text += u'[';
        text += base::DecimalText(FPID);
        text += u']';
    }
    text += u": ";
    text += FContent;
    if (text == u": ") text.clear();
    return text;
}

//   TAG [ "[" PID "]" ] [ ": " | ":" | " " ] CONTENT
// The tag is alphanumeric only; anything else ends it and belongs to the content.
void TIdSysLogMsgPart::SetText(std::u16string_view text) {
    FProcess.clear();
    FPID = kNoPid;
    FPIDAvailable = false;
    FContent.clear();

    std::u16string_view rest = text;
    FProcess = TakeAlphanumericPrefix(rest);

    if (rest.starts_with(u'[')) {
        rest.remove_prefix(1);
        const std::size_t close = rest.find(u']');
        const std::u16string_view pidText = rest.substr(0, close);
        rest = close == std::u16string_view::npos ? std::u16string_view() : rest.substr(close + 1);
        FPID = NumberFieldOr(pidText, kNoPid);
        FPIDAvailable = FPID != kNoPid;
    }

    if (rest.starts_with(u": ")) {
        rest.remove_prefix(2);
    } else if (rest.starts_with(u':') || rest.starts_with(u' ')) {
        rest.remove_prefix(1);
    }
    FContent = rest;
}

void TIdSysLogMsgPart::SetProcess(std::u16string_view process) {
    FProcess = TakeAlphanumericPrefix(process);
}

void TIdSysLogMsgPart::SetPID(std::int32_t pid) {
    FPID = pid;
    FPIDAvailable = pid != kNoPid;
}

void TIdSysLogMsgPart::Assign(const TIdSysLogMsgPart& source) {
    SetText(source.Text());
}

}  // namespace kestrin::syslog

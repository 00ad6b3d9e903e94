#pragma once
// A MainWindowEvents that only records what the window hands over.

#include <exception>
#include <vector>

#include "ui/main_window_win32.h"

namespace kestrin::test {

class RecordingEvents final : public ui::MainWindowEvents {
public:
    void CloseRequested(ui::CloseFrom from) override { closeRequests.push_back(from); }
    void MinimiseRequested() override { ++minimiseRequests; }
    void HandleException(std::exception_ptr error) override { errors.push_back(std::move(error)); }

    std::vector<ui::CloseFrom> closeRequests;
    int minimiseRequests = 0;
    std::vector<std::exception_ptr> errors;
};

}  // namespace kestrin::test

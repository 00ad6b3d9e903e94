// Holds the clipboard open, as another program might, and prints "held" once
// it has it: `clipboard_holder <milliseconds>` lets go after that long,
// `clipboard_holder` when its input ends.

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>

int main(int argc, char** argv) {
    if (!::OpenClipboard(nullptr)) return 1;
    std::printf("held\n");
    std::fflush(stdout);
    if (argc > 1) {
        ::Sleep(static_cast<DWORD>(std::atoi(argv[1])));
    } else {
        std::string line;
        while (std::getline(std::cin, line)) {
        }
    }
    ::CloseClipboard();
    return 0;
}

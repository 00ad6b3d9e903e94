// Holds a file open for writing, as another Windows program would, until its
// input ends: `hold_file <path>` prints "held" once it has the file.

#include <windows.h>

#include <cstdio>
#include <iostream>
#include <string>

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) return 2;
    // Readers may share it, writers may not: what an editor with the file open does.
    const HANDLE file = ::CreateFileW(argv[1], GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    std::printf("held\n");
    std::fflush(stdout);
    std::string line;
    while (std::getline(std::cin, line)) {
    }
    ::CloseHandle(file);
    return 0;
}

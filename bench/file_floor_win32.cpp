// The floor for collecting and converting many small files on Windows (under
// Wine): list every folder of a tree, then open, read and close every file,
// nothing else. bench/run.sh compiles it by itself (it is no part of the
// program) and compares blobsmith-cli.exe on the same tree with it.
//   file_floor_win32.exe FOLDER   -> prints "<files> <bytes>"
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

int wmain(int argc, wchar_t** argv) {
    if (argc < 2)
        return 2;
    std::vector<std::wstring> folders{argv[1]}, files;
    while (!folders.empty()) {
        const std::wstring folder = folders.back();
        folders.pop_back();
        WIN32_FIND_DATAW found{};
        HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE)
            continue;
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..")
                continue;
            (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY ? folders : files).push_back(folder + L"\\" + name);
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    static char buffer[1 << 16];
    unsigned long long bytes = 0;
    for (const std::wstring& file : files) {
        HANDLE h = CreateFileW(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE)
            continue;
        DWORD got = 0;
        while (ReadFile(h, buffer, sizeof buffer, &got, nullptr) && got > 0)
            bytes += got;
        CloseHandle(h);
    }
    std::printf("%u %llu\n", static_cast<unsigned>(files.size()), bytes);
    return 0;
}

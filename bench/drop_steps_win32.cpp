// The steps of the window's drop, timed in one process on Windows (under
// Wine): the tree's bare listing, the walk, the whole collection into a file
// map, and the sort of the paths the list shows; best of five each. The window
// adds the list box and the drag itself (docs/performance.md has both).
// bench/run.sh runs it on the tree of 10 000 small files.
//   blobsmith-drop-steps.exe FOLDER
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <functional>
#include <string>
#include <vector>

#include "app/dropped_files.h"
#include "app/file_map.h"
#include "app/folder_scan.h"

namespace {

double seconds_now() {
    LARGE_INTEGER frequency, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double best_of_five(const std::function<void()>& step) {
    double best = 1e9;
    for (int run = 0; run < 5; ++run) {
        const double start = seconds_now();
        step();
        best = std::min(best, seconds_now() - start);
    }
    return best;
}

// The floor: every folder listed with FindFirstFileW/FindNextFileW, nothing kept.
std::size_t bare_listing(const std::wstring& top) {
    std::size_t files = 0;
    std::vector<std::wstring> folders{top};
    while (!folders.empty()) {
        const std::wstring folder = folders.back();
        folders.pop_back();
        WIN32_FIND_DATAW found{};
        HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE)
            continue;
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                ++files;
            else if (std::wcscmp(found.cFileName, L".") != 0 && std::wcscmp(found.cFileName, L"..") != 0)
                folders.push_back(folder + L"\\" + found.cFileName);
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    return files;
}

}  // namespace

int main() {
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!arguments || count != 2) {
        std::fprintf(stderr, "usage: blobsmith-drop-steps FOLDER\n");
        return 2;
    }
    const std::wstring top = arguments[1];
    const std::u16string folder(top.begin(), top.end());
    LocalFree(arguments);

    std::size_t listed = 0;
    const double listing = best_of_five([&] { listed = bare_listing(top); });
    std::size_t walked = 0;
    const double walk = best_of_five([&] {
        FolderScanMap scan;
        walked = scan_folder(folder, scan).files;
    });
    std::size_t collected = 0;
    FileMap map;
    const double collection = best_of_five([&] {
        map.clear();
        collected = collect_dropped_paths(map, {folder}, nullptr).files;
    });
    const double sort = best_of_five([&] { (void)sorted_entry_paths(map); });
    if (listed != walked || listed != collected) {
        std::fprintf(stderr, "the steps saw different trees: %u listed, %u walked, %u collected\n",
                     static_cast<unsigned>(listed), static_cast<unsigned>(walked), static_cast<unsigned>(collected));
        return 1;
    }
    std::printf("%-44s %8.4f s   %u files\n", "bare listing of the tree (FindFirstFileW)", listing,
                static_cast<unsigned>(listed));
    std::printf("%-44s %8.4f s\n", "the walk (scan_folder)", walk);
    std::printf("%-44s %8.4f s\n", "the collection (walk and file map)", collection);
    std::printf("%-44s %8.4f s\n", "the sort of the listed paths", sort);
    std::printf("  collection and sort take %.2fx the bare listing\n", (collection + sort) / listing);
    return 0;
}

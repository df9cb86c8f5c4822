// The program's source files that keep the current line, in one table: the
// index a file passes to TRACK_LINE names it in the fatal-error box.
#pragma once

#include <cstdint>
#include <iterator>
#include <string_view>

enum SourceFile : std::uint32_t { kStartupSource, kMainWindowSource, kListMenuSource, kSourceFileCount };

inline constexpr std::u16string_view kSourceFileNames[] = {u"startup_win32.cpp", u"main_window_win32.cpp",
                                                           u"list_menu_win32.cpp"};
static_assert(std::size(kSourceFileNames) == kSourceFileCount, "one name for each source file");

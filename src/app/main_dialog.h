// The main window as a dialog definition: the XML text the dialog engine
// opens "wndMain" from, and the home-page address it links to.
#pragma once

#include <string_view>

// The project's home page: the hyperlink's text and what it opens.
inline constexpr std::u16string_view kHomePageAddress = u"https://blobsmith.dev/";

// The whole definition (root element "dialogs").
[[nodiscard]] std::u16string_view main_dialog_definition() noexcept;

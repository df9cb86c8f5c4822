// Dialogs: numbered objects that open a window and its gadgets from an XML
// dialog definition, lay them out, and answer questions about them. GUI thread
// only. An id that names no dialog makes each operation do nothing and return
// 0, -1 or the empty text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/object_id.h"

// Start-up after the window, gadget and runtime-name libraries; at the end
// every dialog is freed (its tree destroyed, its window closed if it exists).
void init_dialog_library();
void end_dialog_library();

// A dialog without a window: its handle for PB_Any, else a non-zero value; 0
// on failure. A number in use loses its old dialog first.
[[nodiscard]] std::intptr_t create_dialog(std::intptr_t number);
// Destroys the element tree, closes the window if it still exists and
// releases the number; PB_Any frees every dialog.
void free_dialog(std::intptr_t dialog);
[[nodiscard]] bool is_dialog(std::intptr_t dialog);

// Opens the window called `name` (ignoring case; empty = a window without NAME)
// of the parsed document `xml` in the dialog: creates its gadgets, lays it
// out at least width x height, and shows it unless its flags hold
// PB_Window_Invisible. parent is a platform window or null. Returns 1, or 0
// with the first error kept (dialog_error) and no window left open. A tree
// opened earlier by the dialog is destroyed first (its window stays).
[[nodiscard]] int open_xml_dialog(std::intptr_t dialog,
                                  std::intptr_t xml,
                                  std::u16string_view name,
                                  std::int32_t x = 0,
                                  std::int32_t y = 0,
                                  std::int32_t width = 0,
                                  std::int32_t height = 0,
                                  void* parent = nullptr);

// The number of the dialog's window; -1 without one.
[[nodiscard]] std::intptr_t dialog_window(std::intptr_t dialog);
// The gadget of the first element named `name` (ignoring case), depth first;
// -1 if none matches or the element has no gadget.
[[nodiscard]] std::intptr_t dialog_gadget(std::intptr_t dialog, std::u16string_view name);
// The first error of the last open_xml_dialog (8-bit, ANSI code page); empty
// when it succeeded.
[[nodiscard]] std::string dialog_error(std::intptr_t dialog);
// Measures again, grows the window if it is now too small (never shrinks it)
// and places everything again.
void refresh_dialog(std::intptr_t dialog);

// The window's file list (lstFiles) as the dropped-file collection sees it.
// The list view gadget implements it on the real control; the collection
// never touches the control otherwise. GUI thread only.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class FileListView {
public:
    virtual ~FileListView() = default;

    virtual void clear_items() = 0;
    // Adds an item after the last one.
    virtual void add_item(std::u16string_view text) = 0;
    // Adds the items after the last one, in order, as one batch where the
    // list can take one.
    virtual void add_items(const std::vector<const std::u16string*>& texts) {
        for (const std::u16string* text : texts)
            add_item(*text);
    }
    [[nodiscard]] virtual std::int32_t count_items() const = 0;
    // 1 when the item is selected, 0 when not, -1 for a position out of range.
    [[nodiscard]] virtual std::int32_t item_state(std::int32_t position) const = 0;
    // The item's text; empty for a position out of range.
    [[nodiscard]] virtual std::u16string item_text(std::int32_t position) const = 0;
    // The current item: in a multi-selection list the lowest selected
    // position, -1 when nothing is selected.
    [[nodiscard]] virtual std::int32_t current_item() const = 0;
    // Makes the item the only selected one, and the one the keys and
    // Shift+click start from.
    virtual void select_only(std::int32_t position) = 0;
    // The first row shown, and showing the rows from one on: a rebuild keeps
    // the user's place.
    [[nodiscard]] virtual std::int32_t top_item() const = 0;
    virtual void show_from(std::int32_t position) = 0;
    // Bracket a rebuild so that the list repaints once.
    virtual void suspend_drawing() = 0;
    virtual void resume_drawing() = 0;
};

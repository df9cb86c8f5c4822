// The file list interface of the dropped-file collection over a list view gadget.
#pragma once

#include <cstdint>

#include "app/file_list_view.h"

struct ScreenPoint {
    std::int32_t x = 0, y = 0;
};

class ListViewFileList final : public FileListView {
public:
    explicit ListViewFileList(std::intptr_t gadget) : gadget_(gadget) {}
    ~ListViewFileList() override;

    void clear_items() override;
    void add_item(std::u16string_view text) override;
    void add_items(const std::vector<const std::u16string*>& texts) override;
    [[nodiscard]] std::int32_t count_items() const override;
    [[nodiscard]] std::int32_t item_state(std::int32_t position) const override;
    [[nodiscard]] std::u16string item_text(std::int32_t position) const override;
    [[nodiscard]] std::int32_t current_item() const override;
    void select_only(std::int32_t position) override;
    [[nodiscard]] std::int32_t top_item() const override;
    void show_from(std::int32_t position) override;
    void suspend_drawing() override;
    void resume_drawing() override;

    // A right-click on a row that is not selected selects that row alone, as
    // file lists do; on a selected row, or below the rows, nothing changes.
    void select_row_at_cursor();
    // Every row selected (Ctrl+A).
    void select_all();
    // Where a menu opened from the keyboard goes: below the caret row's start,
    // within the list; the list's corner when it has no rows.
    [[nodiscard]] ScreenPoint caret_point() const;

private:
    std::intptr_t gadget_;
    bool suspended_ = false;
};

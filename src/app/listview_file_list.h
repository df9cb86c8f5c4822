// The file list interface of the dropped-file collection over a list view gadget.
#pragma once

#include <cstdint>

#include "app/file_list_view.h"

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
    void suspend_drawing() override;
    void resume_drawing() override;

private:
    std::intptr_t gadget_;
    bool suspended_ = false;
};

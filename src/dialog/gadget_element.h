// Elements that own a gadget: measured by their gadget's required size and
// placed by resizing it.
#pragma once

#include "dialog/dialog_element.h"

class GadgetElement final : public LeafElement {
public:
    using LeafElement::LeafElement;
    // 0. replaced: max(required, WIDTH) x max(required, HEIGHT); a list view
    // is as high as whole rows. Folding and the -1 rule do not apply.
    LayoutSize requested_size() override;
    // 2. resizes the gadget; a text or link without border sits 2 pixels lower
    // when it has room to spare.
    void place(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h) override;
};

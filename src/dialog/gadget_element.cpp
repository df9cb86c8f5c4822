// The size and place rules of gadget elements.
#include "dialog/gadget_element.h"

#include "dialog/container_layout.h"

LayoutSize GadgetElement::requested_size() {
    DialogPlatform& platform = *dialog_platform();
    if (kind == ElementKind::listview)
        return {width, listview_requested_height(height, platform.list_item_height(gadget), platform.edge_height())};
    return at_least(platform.required_size(gadget), {width, height});
}

void GadgetElement::place(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h) {
    DialogPlatform& platform = *dialog_platform();
    LayoutRect r{x, y, w, h};
    if (kind == ElementKind::text || kind == ElementKind::hyperlink)
        r = text_gadget_rect(r, static_cast<std::uint32_t>(flags), height, platform.required_size(gadget).height);
    platform.resize(gadget, r.x, r.y, r.width, r.height);
}

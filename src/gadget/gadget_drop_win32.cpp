// Gadgets as drop targets, through the window library's drop targets.
#include "gadget/gadget_drop.h"

#include "gadget/gadget.h"

// The drop targets show feedback by gadget kind: their numbers must agree.
static_assert(DROP_OWNER_LIST_BOX == kKindListView && DROP_OWNER_FRAME == kKindFrame &&
              DROP_OWNER_LIST_ICON == kKindListIcon && DROP_OWNER_EXPLORER_LIST == kKindExplorerList &&
              DROP_OWNER_EXPLORER_TREE == kKindExplorerTree && DROP_OWNER_TREE == kKindTree);

bool enable_gadget_drop(std::intptr_t gadget, std::uint32_t format, std::uint32_t actions, std::uint32_t private_type) {
    void* control = gadget_handle(gadget);
    if (!control)
        return false;
    return enable_drop_target(control, gadget_kind(gadget), gadget, format, actions, private_type);
}

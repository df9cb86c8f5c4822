// Building an element tree from a dialog definition: the keyword table, the
// attributes, gadget creation and event bindings.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "dialog/dialog_errors.h"
#include "dialog/dialog_platform.h"
#include "dialog/layout_elements.h"

struct XmlNode;
class PanelElement;

// Bounds that keep hostile definitions from exhausting the stack or memory:
// the walk and both layout passes recurse once per level.
inline constexpr std::int32_t kMaxDialogDepth = 256;
inline constexpr std::int32_t kMaxDialogElements = 100'000;
// ID numbers beyond this would make registries reserve huge tables.
inline constexpr std::int32_t kMaxElementId = 1'000'000;
// Cells of all grid tables of a definition together: one grid may take this
// many, so a definition of many grids would otherwise take that many times more.
inline constexpr std::int64_t kMaxDialogGridCells = kGridMaxCells;

struct DialogBuild {
    DialogErrorSink& errors;
    DialogPlatform& platform;
    std::intptr_t window = -1;  // the window's number once it is open
    std::int32_t elements = 0;
    // The panels being built, innermost last: a tab adds its page to the last.
    std::vector<PanelElement*> panels;
    std::int64_t grid_cells_left = kMaxDialogGridCells;
};

// Reads the window node's attributes and opens its window (invisible, at
// x, y with the given inner size). Null after an error, which is recorded.
[[nodiscard]] std::unique_ptr<WindowElement> make_window_element(DialogBuild& build,
                                                                 const XmlNode* node,
                                                                 std::int32_t x,
                                                                 std::int32_t y,
                                                                 std::int32_t width,
                                                                 std::int32_t height,
                                                                 void* parent);

// Builds the sibling chain from `first` as children of `parent`, in document
// order, until the sink holds an error. depth counts the parent's level.
void build_children(DialogBuild& build, DialogElement& parent, const XmlNode* first, std::int32_t depth);
// After an element's children: their grouped options get gadgets, then the
// element's finish runs (a container closes its gadget list).
void finish_element(DialogBuild& build, DialogElement& element);

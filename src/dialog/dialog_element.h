// The element tree of an opened dialog: one DialogElement per XML element, with
// the nine element operations in their fixed order and the three families
// (leaf, multi-child, single-child) that fill operations 3 to 8.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "dialog/dialog_platform.h"
#include "dialog/element_kind.h"
#include "dialog/single_child_layout.h"

struct XmlNode;
class DialogElement;

// A grouped option whose gadget its parent's finish creates. `element` is
// null once the element is gone (a parent that keeps no children): the
// gadget is made all the same.
struct PendingOption {
    std::shared_ptr<DialogElement*> element;
    std::int32_t group = 0;
    std::int32_t id = -1;
    std::u16string text;
    const XmlNode* node = nullptr;  // for DISABLED and INVISIBLE
};

class DialogElement {
public:
    explicit DialogElement(ElementKind kind) : kind(kind) {}
    // 8. destroy: the families destroy their children first (members go after
    // the derived destructor has run). A grouped option still waiting for its
    // gadget tells its record that it is gone.
    virtual ~DialogElement();
    DialogElement(const DialogElement&) = delete;
    DialogElement& operator=(const DialogElement&) = delete;

    // 0. requested size: 0 x 0 when folded; a WIDTH or HEIGHT of -1 reports 0.
    // Gadget kinds replace it with their own rule.
    [[nodiscard]] virtual LayoutSize requested_size();
    // 1. own requested size.
    [[nodiscard]] virtual LayoutSize own_requested_size() { return {}; }
    // 2. place, in the coordinates of the gadget list the element lives in.
    virtual void place(std::int32_t, std::int32_t, std::int32_t, std::int32_t) {}
    // 3. add child: takes ownership.
    virtual void add_child(std::unique_ptr<DialogElement> child, const XmlNode* node) = 0;
    // 4. set hidden: the element's gadget and its children; showing skips folded ones.
    virtual void set_hidden(bool hidden) = 0;
    // 5. find by name (ignoring case), depth first, the element before its children.
    [[nodiscard]] virtual DialogElement* find_by_name(std::u16string_view name) = 0;
    // 6. finish: once, after all children were built.
    virtual void finish() {}
    // 7. re-apply texts: TEXT on each gadget again, down the tree.
    virtual void reapply_texts() = 0;

    // Common fields.
    DialogElement* parent = nullptr;
    std::intptr_t gadget = -1;  // -1 without a gadget
    std::int32_t id = -1;       // ID attribute; -1 when absent or #PB_Any
    std::int32_t flags = 0;     // OR of FLAGS
    ElementKind kind;
    bool folded = false;
    std::int32_t width = 0;   // WIDTH; 0 when absent
    std::int32_t height = 0;  // HEIGHT; 0 when absent
    std::u16string name;
    std::u16string text;
    bool has_name = false;
    bool has_text = false;
    // Grouped options among the children, waiting for this element's finish.
    std::vector<PendingOption> pending_options;
    // Set on a grouped option while it waits: its record's pointer to it.
    std::shared_ptr<DialogElement*> pending_slot;
    // Set on the root of a tree whose dialog let it go while a layout pass ran.
    bool retired = false;

protected:
    // The leaf parts of operations 4, 5 and 7, for every family.
    void hide_own_gadget(bool hidden);
    [[nodiscard]] bool name_matches(std::u16string_view wanted) const;
    void reapply_own_text();
};

// True when the element's tree was let go while a layout pass ran: the pass
// stops placing it (its gadgets may be gone, their numbers taken again).
[[nodiscard]] bool in_retired_tree(const DialogElement& element);

// Layout resizes gadgets, and their events run callbacks at once, which may
// free or reopen the dialog being laid out. While any pass runs, the trees and
// dialogs let go are kept, marked retired, and destroyed when the last pass
// ends (dialog.cpp).
class LayoutPass {
public:
    LayoutPass();
    ~LayoutPass();
    LayoutPass(const LayoutPass&) = delete;
    LayoutPass& operator=(const LayoutPass&) = delete;
};

class LeafElement : public DialogElement {
public:
    using DialogElement::DialogElement;
    void add_child(std::unique_ptr<DialogElement>, const XmlNode*) override {}
    void set_hidden(bool hidden) override { hide_own_gadget(hidden); }
    DialogElement* find_by_name(std::u16string_view wanted) override;
    void reapply_texts() override { reapply_own_text(); }
};

class MultiChildElement : public DialogElement {
public:
    using DialogElement::DialogElement;
    void add_child(std::unique_ptr<DialogElement> child, const XmlNode* node) override;
    void set_hidden(bool hidden) override;
    DialogElement* find_by_name(std::u16string_view wanted) override;
    void reapply_texts() override;

    // In document order. Grows as needed: a box has no fixed child limit.
    std::vector<std::unique_ptr<DialogElement>> children;
};

class SingleChildElement : public DialogElement {
public:
    SingleChildElement(ElementKind kind, std::int32_t margin) : DialogElement(kind), layout(margin) {}
    void add_child(std::unique_ptr<DialogElement> new_child, const XmlNode* node) override;
    void set_hidden(bool hidden) override;
    DialogElement* find_by_name(std::u16string_view wanted) override;
    void reapply_texts() override;

    std::unique_ptr<DialogElement> child;
    SingleChildLayout layout;
};

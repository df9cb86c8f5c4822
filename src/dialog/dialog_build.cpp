// Turning XML elements into dialog elements, in document order.
#include "dialog/dialog_build.h"

#include <algorithm>
#include <array>
#include <optional>
#include <unordered_map>
#include <utility>

#include "dialog/container_elements.h"
#include "dialog/flag_list.h"
#include "dialog/gadget_element.h"
#include "dialog/layout_attributes.h"
#include "dialog/runtime_names.h"
#include "system/utf.h"
#include "window/event_bindings.h"
#include "window/event_types.h"
#include "window/window.h"
#include "xml/xml_document.h"

namespace {

// How an element of a keyword is made.
enum class Maker : std::uint8_t {
    box,  // hbox, vbox
    multibox,
    empty,
    singlebox,
    gridbox,
    gadget,  // a leaf that owns a gadget
    option,  // a gadget unless it joins a GROUP
    canvas,  // a gadget unless it holds a gadget list
    container,
    frame,
    panel,
    tab,
    scrollarea,
    splitter,
};

struct Keyword {
    std::u16string_view word;
    ElementKind kind;
    Maker maker;
    std::uint8_t event_mask;
};

// Event mask bits: right click 0x01, left click 0x02, right double click 0x04,
// left double click 0x08, change 0x10, focus 0x20, lost focus 0x40, drag start 0x80.
constexpr std::array kKeywords = {
    Keyword{u"hbox", ElementKind::hbox, Maker::box, 0},
    Keyword{u"vbox", ElementKind::vbox, Maker::box, 0},
    Keyword{u"gridbox", ElementKind::gridbox, Maker::gridbox, 0},
    Keyword{u"singlebox", ElementKind::singlebox, Maker::singlebox, 0},
    Keyword{u"multibox", ElementKind::multibox, Maker::multibox, 0},
    Keyword{u"empty", ElementKind::empty, Maker::empty, 0},
    Keyword{u"button", ElementKind::button, Maker::gadget, 0},
    Keyword{u"checkbox", ElementKind::checkbox, Maker::gadget, 0},
    Keyword{u"image", ElementKind::image, Maker::gadget, 0x8F},
    Keyword{u"option", ElementKind::option, Maker::option, 0},
    Keyword{u"listview", ElementKind::listview, Maker::gadget, 0x0A},
    Keyword{u"listicon", ElementKind::listicon, Maker::gadget, 0x9F},
    Keyword{u"tree", ElementKind::tree, Maker::gadget, 0x9F},
    Keyword{u"container", ElementKind::container, Maker::container, 0},
    Keyword{u"combobox", ElementKind::combobox, Maker::gadget, 0x70},
    Keyword{u"text", ElementKind::text, Maker::gadget, 0},
    Keyword{u"string", ElementKind::string, Maker::gadget, 0x70},
    Keyword{u"panel", ElementKind::panel, Maker::panel, 0x10},
    Keyword{u"tab", ElementKind::tab, Maker::tab, 0},
    Keyword{u"scrollarea", ElementKind::scrollarea, Maker::scrollarea, 0},
    Keyword{u"frame", ElementKind::frame, Maker::frame, 0},
    Keyword{u"editor", ElementKind::editor, Maker::gadget, 0},
    Keyword{u"scintilla", ElementKind::scintilla, Maker::gadget, 0},
    Keyword{u"scrollbar", ElementKind::scrollbar, Maker::gadget, 0},
    Keyword{u"progressbar", ElementKind::progressbar, Maker::gadget, 0},
    Keyword{u"explorerlist", ElementKind::explorerlist, Maker::gadget, 0x9F},
    Keyword{u"explorertree", ElementKind::explorertree, Maker::gadget, 0x9F},
    Keyword{u"explorercombo", ElementKind::explorercombo, Maker::gadget, 0},
    Keyword{u"splitter", ElementKind::splitter, Maker::splitter, 0},
    Keyword{u"shortcut", ElementKind::shortcut, Maker::gadget, 0},
    Keyword{u"buttonimage", ElementKind::buttonimage, Maker::gadget, 0},
    Keyword{u"trackbar", ElementKind::trackbar, Maker::gadget, 0},
    Keyword{u"canvas", ElementKind::canvas, Maker::canvas, 0},
    Keyword{u"calendar", ElementKind::calendar, Maker::gadget, 0},
    Keyword{u"date", ElementKind::date, Maker::gadget, 0x10},
    Keyword{u"spin", ElementKind::spin, Maker::gadget, 0x10},
    Keyword{u"web", ElementKind::web, Maker::gadget, 0},
    Keyword{u"hyperlink", ElementKind::hyperlink, Maker::gadget, 0},
    Keyword{u"ipaddress", ElementKind::ipaddress, Maker::gadget, 0},
};

const Keyword* find_keyword(std::u16string_view word) {
    for (const Keyword& k : kKeywords)
        if (ascii_equal_ignore_case(k.word, word))
            return &k;
    return nullptr;
}

struct EventAttribute {
    std::u16string_view name;
    std::uint8_t mask_bit;  // 0: always allowed
    std::int32_t type;
};

constexpr std::array kEventAttributes = {
    EventAttribute{u"ONEVENT", 0, -1},
    EventAttribute{u"ONRIGHTCLICK", 0x01, 1},
    EventAttribute{u"ONLEFTCLICK", 0x02, 0},
    EventAttribute{u"ONRIGHTDOUBLECLICK", 0x04, 3},
    EventAttribute{u"ONLEFTDOUBLECLICK", 0x08, 2},
    EventAttribute{u"ONCHANGE", 0x10, 768},
    EventAttribute{u"ONFOCUS", 0x20, 14000},
    EventAttribute{u"ONLOSTFOCUS", 0x40, 14001},
    EventAttribute{u"ONDRAGSTART", 0x80, 14002},
};

bool equal(std::u16string_view a, std::u16string_view b) {
    return ascii_equal_ignore_case(a, b);
}

constexpr std::int32_t kPbCanvasContainer = 0x20;

// ---------------------------------------------------------------- attributes

struct Attributes {
    const XmlNode* node;
    [[nodiscard]] std::int32_t count() const { return node->attribute_count; }
    [[nodiscard]] std::u16string_view name(std::int32_t i) const { return xml_attribute_name(node, i); }
    [[nodiscard]] std::u16string_view value(std::int32_t i) const { return xml_attribute_value(node, i); }
    // The first attribute called `wanted`, if any.
    [[nodiscard]] std::optional<std::u16string_view> find(std::u16string_view wanted) const {
        const std::int32_t i = xml_attribute_index(node, wanted);
        return i < 0 ? std::nullopt : std::optional(value(i));
    }
    [[nodiscard]] std::int32_t number(std::u16string_view wanted, std::int32_t fallback) const {
        const auto v = find(wanted);
        return v ? dialog_value(*v) : fallback;
    }
};

// ID, NAME, TEXT, WIDTH, HEIGHT, FOLDED and FLAGS, in document order.
void read_common_attributes(DialogBuild& build, DialogElement& e, const Attributes& a) {
    const std::u16string_view keyword = xml_node_name(a.node);
    std::u16string_view id_text;
    for (std::int32_t i = 0; i < a.count(); ++i) {
        const std::u16string_view n = a.name(i), v = a.value(i);
        if (equal(n, u"ID")) {
            id_text = v;
            if (equal(v, u"#PB_Any")) {
                e.id = -1;
            } else if (!v.empty() && v[0] == u'#') {
                if (is_runtime_name(v)) {
                    e.id = runtime_value(v);
                } else {
                    record_dialog_error(build.errors, kErrorConstantNotFound, {v, u""});
                    e.id = -1;
                }
            } else {
                e.id = dialog_value(v);
            }
        } else if (equal(n, u"NAME")) {
            e.name = v;
            e.has_name = true;
        } else if (equal(n, u"TEXT")) {
            e.text = v;
            e.has_text = true;
        } else if (equal(n, u"WIDTH")) {
            e.width = clamp_layout(dialog_value(v));
        } else if (equal(n, u"HEIGHT")) {
            e.height = clamp_layout(dialog_value(v));
        } else if (equal(n, u"FOLDED")) {
            e.folded = equal(v, u"YES");
        } else if (equal(n, u"FLAGS")) {
            e.flags |= parse_flag_list(v, e.kind, build.errors, keyword);
        }
    }
    // A negative number is no object id, and a huge one would make the
    // gadget registry reserve a table that large.
    if (e.id < -1 || e.id > kMaxElementId) {
        record_dialog_error(build.errors, kErrorBadId, {id_text, keyword});
        e.id = -1;
    }
}

// Runs apply(name, value) on every attribute; a refused value is an error.
template <class Apply>
void read_layout_attributes(DialogBuild& build, const Attributes& a, Apply apply) {
    for (std::int32_t i = 0; i < a.count(); ++i)
        if (apply(a.name(i), a.value(i)) == AttributeResult::bad_value)
            record_dialog_error(build.errors, kErrorBadAttribute, {a.name(i), xml_node_name(a.node)});
}

void bind_event_attributes(DialogBuild& build, std::intptr_t gadget, const Attributes& a, std::uint8_t mask) {
    for (std::int32_t i = 0; i < a.count(); ++i) {
        const std::u16string_view n = a.name(i), v = a.value(i);
        for (const EventAttribute& event : kEventAttributes) {
            if (!equal(n, event.name))
                continue;
            if (event.mask_bit != 0 && !(mask & event.mask_bit)) {
                record_dialog_error(build.errors, kErrorEventNotSupported, {n, xml_node_name(a.node)});
                return;
            }
            const std::intptr_t procedure = runtime_address(v);
            if (procedure == 0) {
                record_dialog_error(build.errors, kErrorNotRuntimeProcedure, {v});
                return;
            }
            bind_event(EV_GADGET, reinterpret_cast<EventCallback>(procedure), build.window, gadget, event.type);
            break;
        }
    }
}

// DISABLED="YES" and INVISIBLE="YES", in attribute order.
void apply_states(DialogBuild& build, std::intptr_t gadget, const XmlNode* node) {
    const Attributes a{node};
    for (std::int32_t i = 0; i < a.count(); ++i) {
        if (equal(a.name(i), u"DISABLED") && equal(a.value(i), u"YES"))
            build.platform.disable(gadget, true);
        else if (equal(a.name(i), u"INVISIBLE") && equal(a.value(i), u"YES"))
            build.platform.hide(gadget, true);
    }
}

// ---------------------------------------------------------------- making elements

// Creates the element's gadget; an error naming the element when the platform
// lacks the kind or refuses the gadget.
bool create_gadget(DialogBuild& build, DialogElement& e, GadgetRequest request, const Attributes& a) {
    const std::u16string_view keyword = xml_node_name(a.node);
    if (!build.platform.has_gadget_kind(request.kind)) {
        record_dialog_error(build.errors, kErrorGadgetNotAvailable, {keyword, e.name});
        return false;
    }
    request.id = e.id;
    e.gadget = build.platform.create_gadget(request);
    if (e.gadget == -1) {
        record_dialog_error(build.errors, kErrorGadgetNotCreated, {keyword, e.name});
        return false;
    }
    return true;
}

GadgetRequest request_for(const DialogElement& e) {
    GadgetRequest request;
    request.kind = e.kind;
    request.text = e.text;
    request.flags = static_cast<std::uint32_t>(e.flags);
    return request;
}

std::unique_ptr<DialogElement> make_gadget_element(DialogBuild& build, const Keyword& k, const Attributes& a) {
    auto e = std::make_unique<GadgetElement>(k.kind);
    read_common_attributes(build, *e, a);
    if (build.errors.has_error())
        return e;
    GadgetRequest request = request_for(*e);
    request.colour = a.number(u"COLOR", 0xFF0000);
    request.minimum = a.number(u"MIN", 0);
    const std::int32_t default_max = k.kind == ElementKind::trackbar ? 10 : 100;
    request.maximum = a.number(u"MAX", default_max);
    request.page = a.number(u"PAGE", 10);
    if (!create_gadget(build, *e, request, a))
        return e;
    switch (k.kind) {
        case ElementKind::scrollbar:
        case ElementKind::progressbar:
        case ElementKind::trackbar:
        case ElementKind::spin:
            build.platform.set_state(e->gadget, a.number(u"VALUE", request.minimum));
            break;
        default:
            break;
    }
    if ((k.kind == ElementKind::editor || k.kind == ElementKind::spin) && e->has_text)
        build.platform.set_text(e->gadget, e->text);
    bind_event_attributes(build, e->gadget, a, k.event_mask);
    return e;
}

// An option with GROUP waits in its parent's list; its gadget field is its ID
// meanwhile, and event attributes bind to that ID. Without an ID they bind
// once the gadget exists, so that a handler is never dropped silently.
std::unique_ptr<DialogElement> make_grouped_option(DialogBuild& build,
                                                   const Keyword& k,
                                                   const Attributes& a,
                                                   DialogElement& parent) {
    auto e = std::make_unique<GadgetElement>(k.kind);
    read_common_attributes(build, *e, a);
    if (build.errors.has_error())
        return e;
    e->gadget = e->id;
    if (e->id != -1)
        bind_event_attributes(build, e->gadget, a, k.event_mask);
    e->pending_slot = std::make_shared<DialogElement*>(e.get());
    parent.pending_options.push_back(PendingOption{e->pending_slot, a.number(u"GROUP", 0), e->id, e->text, a.node});
    return e;
}

// Reads the common and single-child layout attributes into a container kind's element.
template <class Element>
std::unique_ptr<Element> make_single_child(DialogBuild& build, const Attributes& a) {
    auto e = std::make_unique<Element>();
    read_common_attributes(build, *e, a);
    read_layout_attributes(build, a, [&](auto n, auto v) { return apply_single_child_attribute(e->layout, n, v); });
    return e;
}

// The FLAGS of an element, for a choice made before the element exists; the
// errors are recorded when the element reads them.
std::int32_t peek_flags(const Keyword& k, const Attributes& a) {
    DialogErrorText ignored;
    std::int32_t flags = 0;
    for (std::int32_t i = 0; i < a.count(); ++i)
        if (equal(a.name(i), u"FLAGS"))
            flags |= parse_flag_list(a.value(i), k.kind, ignored, xml_node_name(a.node));
    return flags;
}

std::unique_ptr<DialogElement> make_tab(DialogBuild& build, const Attributes& a) {
    auto e = make_single_child<TabElement>(build, a);
    if (build.errors.has_error())
        return e;
    if (build.panels.empty()) {
        record_dialog_error(build.errors, kErrorTabOutsidePanel, {xml_node_name(a.node), e->name});
        return e;
    }
    PanelElement& panel = *build.panels.back();
    e->panel = panel.gadget;
    e->page = build.platform.add_item(panel.gadget, panel.next_page, e->text);
    if (e->page < 0) {
        record_dialog_error(build.errors, kErrorGadgetNotCreated, {xml_node_name(a.node), e->name});
        return e;
    }
    ++panel.next_page;
    return e;
}

std::unique_ptr<DialogElement> make_splitter(DialogBuild& build, const Attributes& a) {
    auto e = std::make_unique<SplitterElement>(build.errors);
    read_common_attributes(build, *e, a);
    if (build.errors.has_error())
        return e;
    if (!e->make_containers()) {
        record_dialog_error(build.errors, kErrorGadgetNotCreated, {xml_node_name(a.node), e->name});
        return e;
    }
    GadgetRequest request = request_for(*e);
    request.first = e->containers[0];
    request.second = e->containers[1];
    if (!create_gadget(build, *e, request, a))
        return e;
    for (std::int32_t i = 0; i < a.count(); ++i) {
        const bool first = equal(a.name(i), u"FIRSTMIN");
        if (!first && !equal(a.name(i), u"SECONDMIN"))
            continue;
        // A number is set at once; "auto" makes the pane's size the minimum
        // from then on, whatever number follows.
        if (const std::optional<std::int32_t> minimum = read_splitter_minimum(a.value(i)))
            build.platform.set_attribute(e->gadget, first ? 1 : 2, *minimum);
        else
            (first ? e->first_auto : e->second_auto) = true;
    }
    e->start_panes();
    return e;
}

std::unique_ptr<DialogElement> make_element(DialogBuild& build,
                                            const Keyword& k,
                                            const Attributes& a,
                                            DialogElement& parent) {
    switch (k.maker) {
        case Maker::box: {
            auto e = std::make_unique<BoxElement>(k.kind);
            read_common_attributes(build, *e, a);
            read_layout_attributes(build, a, [&](auto n, auto v) { return apply_box_attribute(e->box, n, v); });
            return e;
        }
        case Maker::multibox: {
            auto e = std::make_unique<MultiBoxElement>();
            read_common_attributes(build, *e, a);
            return e;
        }
        case Maker::empty: {
            auto e = std::make_unique<EmptyElement>();
            read_common_attributes(build, *e, a);
            return e;
        }
        case Maker::singlebox:
            return make_single_child<SingleBoxElement>(build, a);
        case Maker::gridbox: {
            auto e = std::make_unique<GridElement>(build.errors, build.grid_cells_left);
            read_common_attributes(build, *e, a);
            read_layout_attributes(build, a, [&](auto n, auto v) { return apply_grid_attribute(e->grid, n, v); });
            return e;
        }
        case Maker::gadget:
            return make_gadget_element(build, k, a);
        case Maker::option:
            if (a.find(u"GROUP"))
                return make_grouped_option(build, k, a, parent);
            return make_gadget_element(build, k, a);
        case Maker::canvas: {
            // A plain canvas is made as a gadget kind with an empty event
            // mask: ONEVENT binds, a handler for one event type is an error.
            // Ignoring a handler the definition names would drop it silently.
            if (!(peek_flags(k, a) & kPbCanvasContainer))
                return make_gadget_element(build, k, a);
            auto e = make_single_child<CanvasContainerElement>(build, a);
            if (!build.errors.has_error())
                create_gadget(build, *e, request_for(*e), a);
            return e;
        }
        case Maker::container: {
            auto e = make_single_child<ContainerElement>(build, a);
            if (!build.errors.has_error())
                create_gadget(build, *e, request_for(*e), a);
            return e;
        }
        case Maker::frame: {
            // The flags reach the gadget: a frame asked for an edge gets that edge.
            auto e = make_single_child<FrameElement>(build, a);
            if (!build.errors.has_error())
                create_gadget(build, *e, request_for(*e), a);
            return e;
        }
        case Maker::panel: {
            auto e = std::make_unique<PanelElement>();
            read_common_attributes(build, *e, a);
            if (build.errors.has_error() || !create_gadget(build, *e, request_for(*e), a))
                return e;
            bind_event_attributes(build, e->gadget, a, k.event_mask);
            if (build.errors.has_error()) {
                // The panel's list opened with its gadget, and a failed element
                // never reaches its finish: left open, it would take the gadgets
                // made after it.
                e->finish();
                return e;
            }
            build.panels.push_back(e.get());
            return e;
        }
        case Maker::tab:
            return make_tab(build, a);
        case Maker::scrollarea: {
            auto e = make_single_child<ScrollAreaElement>(build, a);
            read_layout_attributes(build, a,
                                   [&](auto n, auto v) { return apply_scroll_area_attribute(e->settings, n, v); });
            if (build.errors.has_error())
                return e;
            GadgetRequest request = request_for(*e);
            request.inner_width = e->settings.inner_width;
            request.inner_height = e->settings.inner_height;
            request.step = e->settings.step;
            create_gadget(build, *e, request, a);
            return e;
        }
        case Maker::splitter:
            return make_splitter(build, a);
    }
    return nullptr;
}

// Gives the parent's grouped options their gadgets, a group at a time in the
// order of each group's first member; a text gadget made and freed before
// each group ends whatever group came before.
void create_pending_options(DialogBuild& build, DialogElement& parent) {
    std::vector<PendingOption>& pending = parent.pending_options;
    // Group by group, in the order the groups first appear, each group's
    // options in their own order: one sort, not a pass over all per group.
    std::unordered_map<std::int32_t, std::size_t> rank;
    std::vector<std::pair<std::size_t, std::size_t>> order;  // (group's rank, option)
    order.reserve(pending.size());
    for (std::size_t i = 0; i < pending.size(); ++i)
        order.emplace_back(rank.try_emplace(pending[i].group, rank.size()).first->second, i);
    std::stable_sort(order.begin(), order.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::optional<std::int32_t> group;
    for (const auto& [group_rank, at] : order) {
        if (build.errors.has_error())
            break;
        const PendingOption& option = pending[at];
        if (option.group != group) {
            group = option.group;
            GadgetRequest separator;
            separator.kind = ElementKind::text;
            const std::intptr_t text = build.platform.create_gadget(separator);
            if (text != -1)
                build.platform.free_gadget(text);
        }
        GadgetRequest request;
        request.kind = ElementKind::option;
        request.id = option.id;
        request.text = option.text;
        const std::intptr_t gadget = build.platform.create_gadget(request);
        DialogElement* element = *option.element;
        if (element)
            element->pending_slot.reset();
        if (gadget == -1) {
            record_dialog_error(build.errors, kErrorGadgetNotCreated,
                                {xml_node_name(option.node), element ? std::u16string_view(element->name) : u""});
            continue;
        }
        if (element)
            element->gadget = gadget;
        if (option.id == -1)
            bind_event_attributes(build, gadget, Attributes{option.node}, find_keyword(u"option")->event_mask);
        apply_states(build, gadget, option.node);
    }
    pending.clear();
}

}  // namespace

std::unique_ptr<WindowElement> make_window_element(DialogBuild& build,
                                                   const XmlNode* node,
                                                   std::int32_t x,
                                                   std::int32_t y,
                                                   std::int32_t width,
                                                   std::int32_t height,
                                                   void* parent) {
    const Attributes a{node};
    auto e = std::make_unique<WindowElement>();
    read_common_attributes(build, *e, a);
    read_layout_attributes(build, a, [&](auto n, auto v) { return apply_single_child_attribute(e->layout, n, v); });
    if (build.errors.has_error())
        return nullptr;
    // EXPAND means nothing to a window.
    e->layout.expand_width = false;
    e->layout.expand_height = false;
    read_layout_attributes(build, a, [&](auto n, auto v) { return apply_window_limit_attribute(e->limits, n, v); });
    if (build.errors.has_error())
        return nullptr;
    e->window_flags = static_cast<std::uint32_t>(e->flags);
    const std::intptr_t opened =
        build.platform.open_window(e->id, x, y, width, height, e->text, e->window_flags | PB_Window_Invisible, parent);
    if (opened == 0) {
        record_dialog_error(build.errors, kErrorWindowNotOpened);
        return nullptr;
    }
    e->window = e->id != -1 ? e->id : opened;
    build.window = e->window;
    register_dialog_window(*e);
    return e;
}

void build_children(DialogBuild& build, DialogElement& parent, const XmlNode* first, std::int32_t depth) {
    for (const XmlNode* node = first; node; node = node->next_sibling) {
        if (build.errors.has_error())
            return;
        if (node->kind != XML_NODE_ELEMENT)
            continue;
        const Keyword* keyword = find_keyword(xml_node_name(node));
        if (!keyword)
            continue;  // not ours: skipped with everything inside it
        if (depth + 1 > kMaxDialogDepth) {
            record_dialog_error(build.errors, kErrorTooDeep, {xml_node_name(node)});
            return;
        }
        if (++build.elements > kMaxDialogElements) {
            record_dialog_error(build.errors, kErrorTooManyElements);
            return;
        }
        std::unique_ptr<DialogElement> element = make_element(build, *keyword, Attributes{node}, parent);
        if (!element || build.errors.has_error()) {
            if (element)
                std::erase(build.panels, element.get());
            continue;
        }
        if (node->first_child)
            build_children(build, *element, node->first_child, depth + 1);
        finish_element(build, *element);
        // The parent may not keep the element (a leaf keeps no children, a
        // full grid refuses one); its gadget stays in the window all the same.
        const std::intptr_t made_gadget = element->gadget;
        // A grouped option gets its states when its gadget is made.
        const bool waiting = element->pending_slot != nullptr;
        // A splitter pane's list closes as the pane is added: an option
        // waiting for its group must be made in it now, not at the end.
        if (waiting && parent.kind == ElementKind::splitter)
            create_pending_options(build, parent);
        parent.add_child(std::move(element), node);
        if (build.errors.has_error())
            return;
        if (made_gadget != -1 && !waiting)
            apply_states(build, made_gadget, node);
    }
}

void finish_element(DialogBuild& build, DialogElement& element) {
    create_pending_options(build, element);
    element.finish();
    if (element.kind == ElementKind::panel && !build.panels.empty() && build.panels.back() == &element)
        build.panels.pop_back();
}

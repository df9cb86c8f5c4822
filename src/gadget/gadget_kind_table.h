// The gadget record and the per-kind table of operations every common gadget
// operation dispatches through; an empty (null) slot means the default.
#pragma once

#include <cstdint>
#include <string>

struct GadgetKindTable;

// A gadget's registry record: eight pointer-sized words (32 bytes on the target).
struct GadgetObject {
    void* handle;                  // the native control; the liveness word
    const GadgetKindTable* table;  // the kind's operations
    std::uintptr_t unused;         // kept 0
    void* previous_proc;           // the control's procedure before gadget_subclass_proc
    std::intptr_t back_colour;     // kinds with colours: -1 = system default
    std::intptr_t front_colour;    // kinds with colours: -1 = system default
    std::uintptr_t word7;          // back-colour brush, or a kind's own flag (progress bar: marquee)
    void* extension;               // a record owned by the gadget, for kinds that need more room
};
static_assert(sizeof(GadgetObject) == 8 * sizeof(void*));
static_assert(sizeof(void*) != 4 || sizeof(GadgetObject) == 32);

inline constexpr std::int32_t kGadgetObjectSize = static_cast<std::int32_t>(sizeof(GadgetObject));
inline constexpr std::int32_t kGadgetRegistryIncrement = 50;

using U16 = const std::u16string&;

// Slots in their fixed order; every routine takes the record first. A slot
// left out of a kind's table stays null: the common operation uses its default.
struct GadgetKindTable {
    std::int32_t kind = 0;  // gadget kind number
    std::int32_t size = 0;  // the table's size (164 on the target)
    std::intptr_t (*notification_handler)(GadgetObject&,
                                          void* parent,
                                          unsigned message,
                                          std::uintptr_t wparam,
                                          std::intptr_t lparam) = nullptr;                                     // 1
    void (*free_hook)(GadgetObject&) = nullptr;                                                                // 2
    std::int32_t (*get_state)(GadgetObject&) = nullptr;                                                        // 3
    void (*set_state)(GadgetObject&, std::int32_t state) = nullptr;                                            // 4
    std::u16string (*get_text)(GadgetObject&) = nullptr;                                                       // 5
    void (*set_text)(GadgetObject&, U16 text) = nullptr;                                                       // 6
    std::int32_t (*add_item)(GadgetObject&, std::int32_t position, U16 text, std::uintptr_t image) = nullptr;  // 7
    std::int32_t (*add_item_flags)(GadgetObject&,
                                   std::int32_t position,
                                   U16 text,
                                   std::uintptr_t image,
                                   std::int32_t flags) = nullptr;     // 8
    void (*remove_item)(GadgetObject&, std::int32_t item) = nullptr;  // 9
    void (*clear_items)(GadgetObject&) = nullptr;                     // 10
    void (*resize)(GadgetObject&, std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height) =
        nullptr;                                                                                                // 11
    std::int32_t (*count_items)(GadgetObject&) = nullptr;                                                       // 12
    std::int32_t (*get_item_state)(GadgetObject&, std::int32_t item) = nullptr;                                 // 13
    void (*set_item_state)(GadgetObject&, std::int32_t item, std::int32_t state) = nullptr;                     // 14
    std::u16string (*get_item_text)(GadgetObject&, std::int32_t item, std::int32_t column) = nullptr;           // 15
    std::int32_t (*set_item_text)(GadgetObject&, std::int32_t item, U16 text, std::int32_t column) = nullptr;   // 16
    std::intptr_t (*open_list)(GadgetObject&, std::int32_t item) = nullptr;                                     // 17
    std::int32_t (*x_position)(GadgetObject&) = nullptr;                                                        // 18
    std::int32_t (*y_position)(GadgetObject&) = nullptr;                                                        // 19
    std::int32_t (*width)(GadgetObject&) = nullptr;                                                             // 20
    std::int32_t (*height)(GadgetObject&) = nullptr;                                                            // 21
    void (*hide)(GadgetObject&, std::int32_t state) = nullptr;                                                  // 22
    std::int32_t (*add_column)(GadgetObject&, std::int32_t position, U16 title, std::int32_t width) = nullptr;  // 23
    void (*remove_column)(GadgetObject&, std::int32_t column) = nullptr;                                        // 24
    std::int32_t (*get_attribute)(GadgetObject&, std::int32_t attribute) = nullptr;                             // 25
    void (*set_attribute)(GadgetObject&, std::int32_t attribute, std::int32_t value) = nullptr;                 // 26
    std::int32_t (*get_item_attribute)(GadgetObject&,
                                       std::int32_t item,
                                       std::int32_t attribute,
                                       std::int32_t column) = nullptr;  // 27
    void (*set_item_attribute)(GadgetObject&,
                               std::int32_t item,
                               std::int32_t attribute,
                               std::int32_t value,
                               std::int32_t column) = nullptr;                            // 28
    void (*set_colour)(GadgetObject&, std::int32_t type, std::int32_t colour) = nullptr;  // 29
    std::int32_t (*get_colour)(GadgetObject&, std::int32_t type) = nullptr;               // 30
    void (*set_item_colour)(GadgetObject&,
                            std::int32_t item,
                            std::int32_t type,
                            std::int32_t colour,
                            std::int32_t column) = nullptr;  // 31
    std::int32_t (*get_item_colour)(GadgetObject&,
                                    std::int32_t item,
                                    std::int32_t type,
                                    std::int32_t column) = nullptr;                             // 32
    void (*set_item_data)(GadgetObject&, std::int32_t item, std::intptr_t value) = nullptr;     // 33
    std::intptr_t (*get_item_data)(GadgetObject&, std::int32_t item) = nullptr;                 // 34
    void (*required_size)(GadgetObject&, std::int32_t& width, std::int32_t& height) = nullptr;  // 35
    void (*activate_hook)(GadgetObject&) = nullptr;                                             // 36
    void (*editor_hook)(GadgetObject&) = nullptr;                                               // 37
    void (*set_font)(GadgetObject&, std::uintptr_t font) = nullptr;                             // 38
    void (*set_item_image)(GadgetObject&, std::int32_t item, std::uintptr_t image) = nullptr;   // 39
};

inline constexpr int kGadgetKindSlots = 39;
inline constexpr std::int32_t kGadgetKindTableSize = static_cast<std::int32_t>(sizeof(GadgetKindTable));
static_assert(sizeof(GadgetKindTable) == 2 * sizeof(std::int32_t) + kGadgetKindSlots * sizeof(void*),
              "one pointer per slot, no padding: a slot added or lost breaks the order");
static_assert(sizeof(void*) != 4 || kGadgetKindTableSize == 164);

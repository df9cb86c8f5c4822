// The drop-target object the platform calls during a drag, and the feedback it
// shows inside list and tree controls.
#pragma once

#include <cstdint>

#include "system/win32.h"
#include "window/drop_rules.h"

#include <ole2.h>

enum class DropFeedback { Accepting, Refusing, Removed, Dropped };

// Shows feedback in hwnd for its owner kind (windows show none); feedback_item
// is the list box item outlined last, -1 for none. point is in client coordinates.
void show_drop_feedback(HWND hwnd,
                        std::int32_t owner_kind,
                        std::int32_t& feedback_item,
                        DropFeedback what,
                        POINT point);

class DropTarget final : public IDropTarget {
public:
    DropTarget(std::int32_t owner_kind, std::intptr_t owner_number, HWND hwnd)
        : owner_kind_(owner_kind), owner_number_(owner_number), hwnd_(hwnd) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) noexcept override;
    ULONG STDMETHODCALLTYPE AddRef() noexcept override;
    ULONG STDMETHODCALLTYPE Release() noexcept override;
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) noexcept override;
    HRESULT STDMETHODCALLTYPE DragOver(DWORD keys, POINTL point, DWORD* effect) noexcept override;
    HRESULT STDMETHODCALLTYPE DragLeave() noexcept override;
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) noexcept override;

    DropAcceptance& acceptance() { return accept_; }
    std::int32_t feedback_item() const { return feedback_item_; }

private:
    ~DropTarget() = default;
    std::uint32_t action_for(DWORD allowed, DWORD keys) const;
    void feedback(DropFeedback what, POINTL screen_point);
    // False (and no event) when the event data cannot be made.
    bool queue_drop(std::uint32_t action, POINTL screen_point, const void* block, std::size_t size);

    LONG refs_ = 1;
    std::int32_t owner_kind_;
    std::intptr_t owner_number_;
    HWND hwnd_;
    std::int32_t feedback_item_ = -1;
    DropAcceptance accept_;
    int state_ = 0;                      // 0 nothing acceptable, 1 a format, 2 a private type
    std::uint32_t accepted_key_ = 0;     // the format, or the private type
    std::uint32_t accepted_format_ = 0;  // the format, or DROP_FORMAT_PRIVATE
    std::uint32_t accepted_actions_ = 0;
    DWORD last_keys_ = 0;  // key state of the last DragEnter or DragOver
};

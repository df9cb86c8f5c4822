// Drop targets: registration with the platform's drag-and-drop service and the
// drop-target object that turns a drag into feedback and a drop into an event.
#include "window/drop_target.h"

#include <cstring>
#include <vector>

#include "system/gui_thread.h"
#include "system/wide.h"
#include "window/drop_target_internal_win32.h"
#include "window/event_queue.h"
#include "window/window.h"
#include "window/window_record_win32.h"

namespace {

int g_ole_starts = 0;
DropRefusal g_refusal = nullptr;

constexpr DWORD kModifierKeys = DROP_KEY_CTRL | DROP_KEY_SHIFT | DROP_KEY_ALT;

DropTarget* target_of(HWND hwnd) {
    return hwnd ? static_cast<DropTarget*>(GetPropW(hwnd, kPropDropAccept)) : nullptr;
}

FORMATETC global_format(std::uint32_t format) {
    return FORMATETC{static_cast<CLIPFORMAT>(format), nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
}

// Copies the whole global-memory block of format; false if the data object
// refuses it or memory runs out.
bool fetch_block(IDataObject* data, std::uint32_t format, std::vector<unsigned char>& out) noexcept {
    FORMATETC f = global_format(format);
    STGMEDIUM medium{};
    if (!data || FAILED(data->GetData(&f, &medium)))
        return false;
    bool ok = false;
    if (medium.tymed == TYMED_HGLOBAL && medium.hGlobal) {
        const SIZE_T size = GlobalSize(medium.hGlobal);
        if (const void* p = GlobalLock(medium.hGlobal)) {
            try {
                out.assign(static_cast<const unsigned char*>(p), static_cast<const unsigned char*>(p) + size);
                ok = true;
            } catch (...) {
                ok = false;
            }
            GlobalUnlock(medium.hGlobal);
        }
    }
    ReleaseStgMedium(&medium);
    return ok;
}

// Buttons drawn over a gadget (group boxes above all) would take the drag
// from it: move them behind the gadget, as no one sees the difference.
void lower_overlapping_buttons(HWND gadget) {
    RECT g;
    if (!GetWindowRect(gadget, &g))
        return;
    std::vector<HWND> lower;
    for (HWND s = GetWindow(gadget, GW_HWNDFIRST); s; s = GetWindow(s, GW_HWNDNEXT)) {
        if (s == gadget)
            continue;
        wchar_t name[16];
        RECT r, both;
        if (GetClassNameW(s, name, 16) && lstrcmpiW(name, L"Button") == 0 && (GetWindowLongW(s, GWL_STYLE) & 0x7) &&
            GetWindowRect(s, &r) && IntersectRect(&both, &r, &g))
            lower.push_back(s);
    }
    for (HWND s : lower)
        SetWindowPos(s, gadget, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

}  // namespace

// ---------------------------------------------------------------- the drop-target object

HRESULT DropTarget::QueryInterface(REFIID iid, void** out) noexcept {
    if (!out)
        return E_INVALIDARG;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDropTarget)) {
        *out = static_cast<IDropTarget*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

ULONG DropTarget::AddRef() noexcept {
    return static_cast<ULONG>(InterlockedIncrement(&refs_));
}

ULONG DropTarget::Release() noexcept {
    const LONG left = InterlockedDecrement(&refs_);
    if (left == 0)
        delete this;
    return static_cast<ULONG>(left);
}

std::uint32_t DropTarget::action_for(DWORD allowed, DWORD keys) const {
    if (g_refusal && g_refusal())
        return 0;
    return state_ ? choose_drop_action(allowed, accepted_actions_, keys) : 0;
}

void DropTarget::feedback(DropFeedback what, POINTL screen_point) {
    POINT p{screen_point.x, screen_point.y};
    ScreenToClient(hwnd_, &p);
    show_drop_feedback(hwnd_, owner_kind_, feedback_item_, what, p);
}

HRESULT DropTarget::DragEnter(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) noexcept {
    if (!effect)
        return E_INVALIDARG;
    const DWORD allowed = *effect;
    state_ = 0;
    last_keys_ = keys;
    if (data) {
        const DropAcceptList::Entry* hit = accept_.formats.first_match(allowed, [data](std::uint32_t format) {
            FORMATETC f = global_format(format);
            return data->QueryGetData(&f) == S_OK;
        });
        if (hit) {
            state_ = 1;
            accepted_key_ = accepted_format_ = hit->key;
            accepted_actions_ = hit->actions;
        } else if (!accept_.private_types.empty()) {
            std::vector<unsigned char> block;
            if (fetch_block(data, DROP_FORMAT_PRIVATE, block) && block.size() >= 4) {
                std::uint32_t type;
                std::memcpy(&type, block.data(), sizeof type);
                hit = accept_.private_types.first_match(allowed, [type](std::uint32_t key) { return key == type; });
                if (hit) {
                    state_ = 2;
                    accepted_key_ = type;
                    accepted_format_ = DROP_FORMAT_PRIVATE;
                    accepted_actions_ = hit->actions;
                }
            }
        }
    }
    const std::uint32_t action = action_for(allowed, keys);
    *effect = action;
    feedback(action ? DropFeedback::Accepting : DropFeedback::Refusing, point);
    return S_OK;
}

HRESULT DropTarget::DragOver(DWORD keys, POINTL point, DWORD* effect) noexcept {
    if (!effect)
        return E_INVALIDARG;
    last_keys_ = keys;
    const std::uint32_t action = action_for(*effect, keys);
    *effect = action;
    feedback(action ? DropFeedback::Accepting : DropFeedback::Refusing, point);
    return S_OK;
}

HRESULT DropTarget::DragLeave() noexcept {
    feedback(DropFeedback::Removed, POINTL{0, 0});
    return S_OK;
}

HRESULT DropTarget::Drop(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) noexcept {
    if (!effect)
        return E_INVALIDARG;
    // Wine: Drop gets no modifier keys even while they are held. The platform
    // calls DragOver whenever the keys change, so the keys it saw last are the
    // ones held at the release.
    if (!(keys & kModifierKeys))
        keys |= last_keys_ & kModifierKeys;
    std::uint32_t action = action_for(*effect, keys);
    std::vector<unsigned char> block;
    if (action && state_ == 1 && !fetch_block(data, accepted_format_, block))
        action = 0;  // nothing to deliver: no event
    *effect = action;
    if (!action) {
        feedback(DropFeedback::Removed, point);
        return S_OK;
    }
    if (!queue_drop(action, point, state_ == 1 ? block.data() : nullptr, block.size())) {
        *effect = 0;
        feedback(DropFeedback::Removed, point);
    }
    return S_OK;
}

bool DropTarget::queue_drop(std::uint32_t action, POINTL screen_point, const void* block, std::size_t size) {
    POINT p{screen_point.x, screen_point.y};
    ScreenToClient(hwnd_, &p);
    // A zero-length block still counts as data (an empty file list).
    static const unsigned char empty = 0;
    if (state_ == 1 && !block)
        block = &empty;
    DropEventData* d =
        make_drop_event_data(accepted_format_, state_ == 2 ? accepted_key_ : 0, action, p.x, p.y, block, size);
    if (!d)
        return false;
    // The feedback selects an item, whose change event runs callbacks at once,
    // and so does queue_event: either may unregister this target (free its
    // gadget, close its window). Kept alive; no drop for an owner that went.
    AddRef();
    feedback(DropFeedback::Dropped, screen_point);
    if (target_of(hwnd_) != this) {
        free_drop_event_data(d);
        Release();
        return false;
    }
    if (owner_kind_ == DROP_OWNER_WINDOW)
        queue_event(EV_WINDOW_DROP, 0, owner_number_, 0, d, free_drop_event_data);
    else
        queue_event(EV_GADGET_DROP, owner_number_, window_number_of(hwnd_), 0, d, free_drop_event_data);
    Release();
    return true;
}

// ---------------------------------------------------------------- registration

void set_drop_refusal(DropRefusal refusal) {
    g_refusal = refusal;
}

bool init_drop() {
    const HRESULT hr = OleInitialize(nullptr);
    if (FAILED(hr)) {
        SetLastError(static_cast<DWORD>(hr));
        return false;
    }
    ++g_ole_starts;
    return true;
}

void end_drop() {
    if (g_ole_starts == 0)
        return;
    --g_ole_starts;
    OleUninitialize();
}

bool enable_drop_target(void* handle,
                        std::int32_t owner_kind,
                        std::intptr_t owner_number,
                        std::uint32_t format,
                        std::uint32_t actions,
                        std::uint32_t private_type) {
    ASSERT_GUI_THREAD();
    const auto hwnd = static_cast<HWND>(handle);
    if (!hwnd || !IsWindow(hwnd))
        return false;
    DropTarget* target = target_of(hwnd);
    if (actions == 0) {
        if (target && target->acceptance().apply(format, 0, private_type))
            remove_drop_target(hwnd);
        return true;
    }
    if (!target) {
        target = new (std::nothrow) DropTarget(owner_kind, owner_number, hwnd);
        if (!target)
            return false;
        HRESULT hr = RegisterDragDrop(hwnd, target);
        if (hr == DRAGDROP_E_ALREADYREGISTERED) {
            RevokeDragDrop(hwnd);
            hr = RegisterDragDrop(hwnd, target);
        }
        if (FAILED(hr)) {
            target->Release();
            SetLastError(static_cast<DWORD>(hr));
            return false;
        }
        // Drops are taken only by the target the window's property names, and
        // only a window with it is revoked again: without it, no half target.
        if (!SetPropW(hwnd, kPropDropAccept, target)) {
            const DWORD error = GetLastError();
            RevokeDragDrop(hwnd);
            target->Release();
            SetLastError(error);
            return false;
        }
        target->Release();  // the platform holds its own reference
    }
    target->acceptance().apply(format, actions, private_type);
    if (owner_kind != DROP_OWNER_WINDOW && owner_kind != DROP_OWNER_FRAME)
        lower_overlapping_buttons(hwnd);
    return true;
}

bool enable_window_drop(std::intptr_t window, std::uint32_t format, std::uint32_t actions) {
    Window* win = window_record(window);
    return win && enable_drop_target(win->handle, DROP_OWNER_WINDOW, window, format, actions, 0);
}

void remove_drop_target(void* handle) {
    ASSERT_GUI_THREAD();
    const auto hwnd = static_cast<HWND>(handle);
    if (hwnd && RemovePropW(hwnd, kPropDropAccept))
        RevokeDragDrop(hwnd);
}

bool is_drop_target(void* hwnd) {
    return target_of(static_cast<HWND>(hwnd)) != nullptr;
}

std::int32_t drop_feedback_item(void* hwnd) {
    const DropTarget* target = target_of(static_cast<HWND>(hwnd));
    return target ? target->feedback_item() : -1;
}

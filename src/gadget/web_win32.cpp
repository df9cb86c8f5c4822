// The web gadget: the system's web browser object hosted in place in a window
// of its own; its navigation events become gadget events.
#include <exdisp.h>
#include <exdispid.h>
#include <ole2.h>

#include <new>

#include "gadget/editor_kinds.h"
#include "gadget/gadget_internal_win32.h"
#include "system/wide.h"
#include "window/gadget_hooks.h"

namespace {

constexpr wchar_t kWebClass[] = L"VadiZuz";
const CLSID* g_browser_class = &CLSID_WebBrowser;
constexpr DWORD kWebStyle = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN;
static_assert((kWebStyle & ~WS_CLIPCHILDREN) == 0x50000000);

// The host of one browser object: its client site, in-place site and frame,
// and the sink of its events. The gadget holds one reference and lets go of
// it when freed; the host goes with the last one, which the browser may hold
// a little longer. Stopped, it answers for no window: the control is gone and
// its handle may be another's.
class WebHost final : public IOleClientSite, public IOleInPlaceSite, public IOleInPlaceFrame, public IDispatch {
public:
    explicit WebHost(HWND window) : window_(window) {}

    bool start(const std::u16string& address) {
        if (FAILED(CoCreateInstance(*g_browser_class, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                                    reinterpret_cast<void**>(&object_))))
            return false;
        RECT r{};
        GetClientRect(window_, &r);
        if (FAILED(object_->SetClientSite(this)) ||
            FAILED(object_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, this, 0, window_, &r)) ||
            FAILED(object_->QueryInterface(IID_IWebBrowser2, reinterpret_cast<void**>(&browser_))))
            return false;
        IConnectionPointContainer* points = nullptr;
        if (SUCCEEDED(browser_->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&points)))) {
            if (SUCCEEDED(points->FindConnectionPoint(DIID_DWebBrowserEvents2, &events_)))
                events_->Advise(static_cast<IDispatch*>(this), &cookie_);
            points->Release();
        }
        navigate(address.empty() ? u"about:blank" : address);
        return true;
    }

    void stop() {
        if (events_) {
            events_->Unadvise(cookie_);
            events_->Release();
            events_ = nullptr;
        }
        if (browser_) {
            browser_->Release();
            browser_ = nullptr;
        }
        if (object_) {
            object_->Close(OLECLOSE_NOSAVE);
            object_->SetClientSite(nullptr);
            object_->Release();
            object_ = nullptr;
        }
        window_ = nullptr;
    }

    void navigate(const std::u16string& address) {
        if (!browser_)
            return;
        BSTR url = SysAllocString(wide(address));
        VARIANT empty;
        VariantInit(&empty);
        browser_->Navigate(url, &empty, &empty, &empty, &empty);
        SysFreeString(url);
    }

    std::u16string address() const {
        BSTR url = nullptr;
        if (!browser_ || FAILED(browser_->get_LocationURL(&url)) || !url)
            return {};
        std::u16string text = from_wide(url, SysStringLen(url));
        SysFreeString(url);
        return text;
    }

    void command(std::int32_t which) {
        if (!browser_)
            return;
        switch (which) {
            case PB_Web_Back:
                browser_->GoBack();
                break;
            case PB_Web_Forward:
                browser_->GoForward();
                break;
            case PB_Web_Stop:
                browser_->Stop();
                break;
            case PB_Web_Refresh:
                browser_->Refresh();
                break;
        }
    }

    bool busy() const {
        VARIANT_BOOL value = VARIANT_FALSE;
        return browser_ && SUCCEEDED(browser_->get_Busy(&value)) && value != VARIANT_FALSE;
    }

    void resize() {
        IOleInPlaceObject* in_place = nullptr;
        if (object_ && SUCCEEDED(object_->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(&in_place)))) {
            RECT r{};
            GetClientRect(window_, &r);
            in_place->SetObjectRects(&r, &r);
            in_place->Release();
        }
    }

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID iid, void** out) noexcept override {
        if (!out)
            return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IOleClientSite)
            *out = static_cast<IOleClientSite*>(this);
        else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceSite)
            *out = static_cast<IOleInPlaceSite*>(this);
        else if (iid == IID_IOleInPlaceFrame || iid == IID_IOleInPlaceUIWindow)
            *out = static_cast<IOleInPlaceFrame*>(this);
        else if (iid == IID_IDispatch || iid == DIID_DWebBrowserEvents2)
            *out = static_cast<IDispatch*>(this);
        else {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() noexcept override { return ++references_; }
    // The browser may hold the site after it was told to close (work of its
    // own still under way): the host goes with the last reference, the
    // gadget's own being one of them.
    STDMETHODIMP_(ULONG) Release() noexcept override {
        const ULONG left = --references_;
        if (left == 0)
            delete this;
        return left;
    }

    // IOleClientSite
    STDMETHODIMP SaveObject() noexcept override { return E_NOTIMPL; }
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker** out) noexcept override { return none(out); }
    STDMETHODIMP GetContainer(IOleContainer** out) noexcept override { return none(out, E_NOINTERFACE); }
    STDMETHODIMP ShowObject() noexcept override { return S_OK; }
    STDMETHODIMP OnShowWindow(BOOL) noexcept override { return S_OK; }
    STDMETHODIMP RequestNewObjectLayout() noexcept override { return E_NOTIMPL; }

    // IOleWindow (shared by the site and the frame)
    STDMETHODIMP GetWindow(HWND* out) noexcept override {
        if (!out)
            return E_POINTER;
        *out = window_;
        return window_ ? S_OK : E_FAIL;
    }
    STDMETHODIMP ContextSensitiveHelp(BOOL) noexcept override { return E_NOTIMPL; }

    // IOleInPlaceSite
    STDMETHODIMP CanInPlaceActivate() noexcept override { return S_OK; }
    STDMETHODIMP OnInPlaceActivate() noexcept override { return S_OK; }
    STDMETHODIMP OnUIActivate() noexcept override { return S_OK; }
    STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame,
                                  IOleInPlaceUIWindow** document,
                                  LPRECT position,
                                  LPRECT clip,
                                  LPOLEINPLACEFRAMEINFO info) noexcept override {
        if (!frame || !document || !position || !clip || !info)
            return E_POINTER;
        *document = nullptr;
        if (!window_) {
            *frame = nullptr;
            return E_FAIL;
        }
        *frame = this;
        AddRef();
        GetClientRect(window_, position);
        *clip = *position;
        info->fMDIApp = FALSE;
        info->hwndFrame = window_;
        info->haccel = nullptr;
        info->cAccelEntries = 0;
        return S_OK;
    }
    STDMETHODIMP Scroll(SIZE) noexcept override { return E_NOTIMPL; }
    STDMETHODIMP OnUIDeactivate(BOOL) noexcept override { return S_OK; }
    STDMETHODIMP OnInPlaceDeactivate() noexcept override { return S_OK; }
    STDMETHODIMP DiscardUndoState() noexcept override { return E_NOTIMPL; }
    STDMETHODIMP DeactivateAndUndo() noexcept override { return E_NOTIMPL; }
    STDMETHODIMP OnPosRectChange(LPCRECT) noexcept override { return S_OK; }

    // IOleInPlaceUIWindow and IOleInPlaceFrame: no menus or tool bars to share.
    STDMETHODIMP GetBorder(LPRECT) noexcept override { return INPLACE_E_NOTOOLSPACE; }
    STDMETHODIMP RequestBorderSpace(LPCBORDERWIDTHS) noexcept override { return INPLACE_E_NOTOOLSPACE; }
    STDMETHODIMP SetBorderSpace(LPCBORDERWIDTHS) noexcept override { return S_OK; }
    STDMETHODIMP SetActiveObject(IOleInPlaceActiveObject*, LPCOLESTR) noexcept override { return S_OK; }
    STDMETHODIMP InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) noexcept override { return E_NOTIMPL; }
    STDMETHODIMP SetMenu(HMENU, HOLEMENU, HWND) noexcept override { return S_OK; }
    STDMETHODIMP RemoveMenus(HMENU) noexcept override { return E_NOTIMPL; }
    STDMETHODIMP SetStatusText(LPCOLESTR) noexcept override { return S_OK; }
    STDMETHODIMP EnableModeless(BOOL) noexcept override { return S_OK; }
    STDMETHODIMP TranslateAccelerator(LPMSG, WORD) noexcept override { return S_FALSE; }

    // IDispatch: the browser's events
    STDMETHODIMP GetTypeInfoCount(UINT* count) noexcept override {
        if (count)
            *count = 0;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** out) noexcept override { return none(out, E_NOTIMPL); }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) noexcept override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) noexcept override {
        if (!window_)
            return S_OK;
        switch (id) {
            case DISPID_NAVIGATECOMPLETE2:
                post_gadget_event(window_, ET_WEB_NAVIGATE_COMPLETE);
                break;
            case DISPID_DOWNLOADBEGIN:
                post_gadget_event(window_, ET_WEB_DOWNLOAD_START);
                break;
            case DISPID_DOWNLOADCOMPLETE:
                post_gadget_event(window_, ET_WEB_DOWNLOAD_END);
                break;
        }
        return S_OK;
    }

private:
    template <class T>
    static HRESULT none(T** out, HRESULT result = E_NOTIMPL) {
        if (out)
            *out = nullptr;
        return result;
    }

    HWND window_;
    IOleObject* object_ = nullptr;
    IWebBrowser2* browser_ = nullptr;
    IConnectionPoint* events_ = nullptr;
    DWORD cookie_ = 0;
    ULONG references_ = 1;
};

WebHost* host_of(GadgetObject& g) {
    return static_cast<WebHost*>(g.extension);
}

void web_free(GadgetObject& g) {
    if (WebHost* host = host_of(g)) {
        host->stop();
        g.extension = nullptr;
        host->Release();
    }
}

void web_set_state(GadgetObject& g, std::int32_t state) {
    host_of(g)->command(state);
}

std::u16string web_get_text(GadgetObject& g) {
    return host_of(g)->address();
}

void web_set_text(GadgetObject& g, const std::u16string& text) {
    host_of(g)->navigate(text.empty() ? u"about:blank" : text);
}

std::int32_t web_get_attribute(GadgetObject& g, std::int32_t attribute) {
    return attribute == PB_Web_Busy && host_of(g)->busy() ? 1 : 0;
}

// Items, their texts and settable attributes are left to the defaults: the
// page's content is the browser's.
constexpr GadgetKindTable kWebKind{
    .kind = kKindWeb,
    .size = kGadgetKindTableSize,
    .free_hook = web_free,
    .set_state = web_set_state,
    .get_text = web_get_text,
    .set_text = web_set_text,
    .get_attribute = web_get_attribute,
};

LRESULT CALLBACK web_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) noexcept {
    if (message == WM_SIZE)
        if (GadgetObject* g = gadget_of_control(window); g && host_of(*g))
            host_of(*g)->resize();
    return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace

void set_web_browser_class(const void* clsid) {
    g_browser_class = clsid ? static_cast<const CLSID*>(clsid) : &CLSID_WebBrowser;
}

std::intptr_t web_gadget(std::intptr_t id,
                         std::int32_t x,
                         std::int32_t y,
                         std::int32_t width,
                         std::int32_t height,
                         const char16_t* address) {
    static const bool ole_ready = SUCCEEDED(OleInitialize(nullptr));
    if (!ole_ready || !register_kind_class(kWebClass, web_proc, 0, nullptr))
        return 0;
    const HWND window = create_gadget_control(0, kWebClass, u"", kWebStyle, x, y, width, height);
    if (!window)
        return 0;
    auto* host = new (std::nothrow) WebHost(window);
    if (!host || !host->start(text_or_empty(address))) {
        // No browser object here: nothing of the gadget may stay.
        if (host) {
            host->stop();
            host->Release();
        }
        DestroyWindow(window);
        return 0;
    }
    GadgetObject* g = allocate_gadget(id, window);
    if (!g) {
        host->stop();
        host->Release();
        return 0;
    }
    g->extension = host;
    return register_gadget(id, g, window, &kWebKind);
}

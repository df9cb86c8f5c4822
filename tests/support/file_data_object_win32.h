// Test support: a data object holding a dropped-file list (CF_HDROP), as a
// file manager offers it, that can also refuse to hand the list over or hand
// over a block whose last name has no terminator.
#pragma once

#include <cstring>
#include <string>
#include <vector>

#include "system/win32.h"

#include <ole2.h>
#include <shlobj.h>

struct FileListOptions {
    std::vector<std::wstring> paths;
    bool refuse = false;     // offers the list but GetData fails
    bool malformed = false;  // the last name and the list lose their terminators
};

// A new global-memory dropped-file block (wide names); null when memory runs out.
inline HGLOBAL make_file_list_block(const FileListOptions& options) {
    std::vector<wchar_t> names;
    for (const std::wstring& p : options.paths) {
        names.insert(names.end(), p.begin(), p.end());
        names.push_back(L'\0');
    }
    if (options.malformed) {
        if (!names.empty())
            names.pop_back();
    } else {
        names.push_back(L'\0');
    }
    const SIZE_T size = sizeof(DROPFILES) + names.size() * sizeof(wchar_t);
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
    if (!h)
        return nullptr;
    auto* df = static_cast<DROPFILES*>(GlobalLock(h));
    df->pFiles = sizeof(DROPFILES);
    df->fWide = TRUE;
    if (!names.empty())
        std::memcpy(df + 1, names.data(), names.size() * sizeof(wchar_t));
    GlobalUnlock(h);
    return h;
}

// Made with a reference count of 1.
class FileDataObject final : public IDataObject {
public:
    explicit FileDataObject(FileListOptions options) : options_(std::move(options)) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) noexcept override {
        if (!out)
            return E_INVALIDARG;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDataObject)) {
            *out = static_cast<IDataObject*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() noexcept override { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
    ULONG STDMETHODCALLTYPE Release() noexcept override {
        const LONG left = InterlockedDecrement(&refs_);
        if (left == 0)
            delete this;
        return static_cast<ULONG>(left);
    }
    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* f, STGMEDIUM* medium) noexcept override {
        if (!f || !medium)
            return E_INVALIDARG;
        if (QueryGetData(f) != S_OK)
            return DV_E_FORMATETC;
        if (options_.refuse)
            return E_FAIL;
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = make_file_list_block(options_);
        medium->pUnkForRelease = nullptr;
        return medium->hGlobal ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) noexcept override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* f) noexcept override {
        if (!f)
            return E_INVALIDARG;
        if (f->cfFormat != CF_HDROP || !(f->tymed & TYMED_HGLOBAL))
            return DV_E_FORMATETC;
        if (f->dwAspect != DVASPECT_CONTENT)
            return DV_E_DVASPECT;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) noexcept override {
        if (out)
            out->ptd = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) noexcept override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** out) noexcept override {
        if (direction != DATADIR_GET)
            return E_NOTIMPL;
        FORMATETC f{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
        return SHCreateStdEnumFmtEtc(1, &f, out);
    }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) noexcept override {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) noexcept override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) noexcept override { return OLE_E_ADVISENOTSUPPORTED; }

private:
    ~FileDataObject() = default;
    FileListOptions options_;
    LONG refs_ = 1;
};

// Drop targets with real drags from another process (blobsmith-drag-source),
// and the drop-target object's contract with the platform.
#include "window/drop_target.h"

#include <cstring>
#include <string>
#include <vector>

#include "support/drag_source_launch_win32.h"
#include "support/file_data_object_win32.h"
#include "support/refused_property_win32.h"
#include "support/scratch_dir.h"
#include "window_test_support_win32.h"

#include <commctrl.h>

namespace {

struct TakenDrop {
    std::int32_t event;
    std::intptr_t object, window;
    std::u16string text;
    std::uint32_t action;
};

class DropTargetTest : public WindowTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(init_drop());
        WindowTest::SetUp();
    }
    void TearDown() override {
        WindowTest::TearDown();
        end_drop();
    }

    // One turn of the loop: every drop event taken is recorded with its text,
    // read while the event is current.
    void pump() {
        const std::int32_t n = wait_window_event(20);
        if (n == EV_WINDOW_DROP || n == EV_GADGET_DROP) {
            const DropEventData* d = current_drop_event_data();
            drops.push_back(
                {n, current_event_object(), current_event_window(), dropped_files_text(), d ? d->action : 0u});
        }
    }

    DragRun drag(const std::u16string& arguments) {
        return run_drag_source(arguments, [this] { pump(); });
    }

    std::intptr_t open_target(std::intptr_t number) {
        EXPECT_NE(open_window(number, 400, 300, 320, 240, u"drop here", PB_Window_SystemMenu), 0);
        settle();
        return number;
    }

    static std::u16string quoted(const std::vector<std::u16string>& paths) {
        std::u16string out;
        for (const auto& p : paths)
            out += u" \"" + p + u"\"";
        return out;
    }

    std::vector<TakenDrop> drops;
};

// A drop target of someone else's, to see which one the platform calls.
class ForeignTarget final : public IDropTarget {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) noexcept override {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDropTarget)) {
            *out = this;
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() noexcept override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() noexcept override { return --refs; }
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject*, DWORD, POINTL, DWORD* e) noexcept override {
        ++calls;
        *e = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL, DWORD* e) noexcept override {
        ++calls;
        *e = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragLeave() noexcept override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Drop(IDataObject*, DWORD, POINTL, DWORD* e) noexcept override {
        ++calls;
        *e = 0;
        return S_OK;
    }
    LONG refs = 1;
    int calls = 0;
};

TEST_F(DropTargetTest, ThreeFilesDroppedGiveOneEventWithTheirPathsJoinedByLineFeeds) {
    ScratchDir dir;
    const std::vector<std::u16string> files{dir.write(u"one.bin", "1"), dir.write(u"two words.txt", "22"),
                                            dir.write(u"sub\\three.dat", "333")};
    const std::intptr_t w = open_target(2);
    // Someone registered the window already: enabling takes it over.
    ForeignTarget foreign;
    ASSERT_EQ(RegisterDragDrop(hwnd_of(w), &foreign), S_OK);
    ASSERT_TRUE(enable_window_drop(w, DROP_FORMAT_FILES, DROP_COPY | DROP_MOVE | DROP_LINK));

    const DragRun run = drag(u"--to " + drag_point(client_centre_on_screen(hwnd_of(w))) + quoted(files));
    EXPECT_EQ(run.status, 0u) << run.out;
    EXPECT_EQ(run.effect(), static_cast<DWORD>(DROPEFFECT_COPY));
    EXPECT_EQ(foreign.calls, 0);
    ASSERT_EQ(drops.size(), 1u);
    EXPECT_EQ(drops[0].event, EV_WINDOW_DROP);
    EXPECT_EQ(drops[0].window, w);
    EXPECT_EQ(drops[0].object, 0);
    EXPECT_EQ(drops[0].action, DROP_COPY);
    EXPECT_EQ(drops[0].text, files[0] + u"\n" + files[1] + u"\n" + files[2]);
}

TEST_F(DropTargetTest, AFolderArrivesAsItsOwnPathAndShiftMovesIt) {
    ScratchDir dir;
    dir.write(u"inside\\x.bin", "x");
    const std::u16string folder = dir.path(u"inside");
    const std::intptr_t w = open_target(3);
    ASSERT_TRUE(enable_window_drop(w, DROP_FORMAT_FILES, DROP_COPY | DROP_MOVE | DROP_LINK));

    const DragRun run =
        drag(u"--keys shift --to " + drag_point(client_centre_on_screen(hwnd_of(w))) + quoted({folder}));
    EXPECT_EQ(run.status, 0u) << run.out;
    EXPECT_EQ(run.effect(), static_cast<DWORD>(DROPEFFECT_MOVE)) << run.out;
    ASSERT_EQ(drops.size(), 1u);
    EXPECT_EQ(drops[0].text, folder);
    EXPECT_EQ(drops[0].action, DROP_MOVE);
}

// ---------------------------------------------------------------- the object's contract, called in-process

// A data object holding one global-memory block of one format.
class BlockDataObject final : public IDataObject {
public:
    BlockDataObject(CLIPFORMAT format, std::string bytes) : format_(format), bytes_(std::move(bytes)) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) noexcept override {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDataObject)) {
            *out = this;
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() noexcept override { return 1; }
    ULONG STDMETHODCALLTYPE Release() noexcept override { return 1; }
    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* f, STGMEDIUM* m) noexcept override {
        if (QueryGetData(f) != S_OK)
            return DV_E_FORMATETC;
        HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, bytes_.size());
        std::memcpy(GlobalLock(h), bytes_.data(), bytes_.size());
        GlobalUnlock(h);
        m->tymed = TYMED_HGLOBAL;
        m->hGlobal = h;
        m->pUnkForRelease = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) noexcept override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* f) noexcept override {
        return f->cfFormat == format_ && (f->tymed & TYMED_HGLOBAL) ? S_OK : DV_E_FORMATETC;
    }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC*) noexcept override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) noexcept override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) noexcept override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) noexcept override {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) noexcept override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) noexcept override { return OLE_E_ADVISENOTSUPPORTED; }

private:
    CLIPFORMAT format_;
    std::string bytes_;
};

IDropTarget* registered_target(HWND hwnd) {
    return static_cast<IDropTarget*>(GetPropW(hwnd, L"PB_DropAccept"));
}

// Enter, then drop at the same point; returns the effect of the drop.
DWORD enter_and_drop(IDropTarget* t, IDataObject* data, DWORD allowed, DWORD keys, POINT screen) {
    DWORD effect = allowed;
    const POINTL p{screen.x, screen.y};
    t->DragEnter(data, keys, p, &effect);
    effect = allowed;
    t->Drop(data, keys, p, &effect);
    return effect;
}

TEST_F(DropTargetTest, TheTargetAnswersItsTwoInterfacesAndCountsReferences) {
    ASSERT_NE(open_window(1, 0, 0, 100, 100, u"t", PB_Window_SystemMenu | PB_Window_Invisible), 0);
    ASSERT_TRUE(enable_window_drop(1, DROP_FORMAT_FILES, DROP_COPY));
    IDropTarget* t = registered_target(hwnd_of(1));
    ASSERT_NE(t, nullptr);
    void* out = reinterpret_cast<void*>(1);
    EXPECT_EQ(t->QueryInterface(IID_IDataObject, &out), E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(t->QueryInterface(IID_IUnknown, nullptr), E_INVALIDARG);
    ASSERT_EQ(t->QueryInterface(IID_IDropTarget, &out), S_OK);
    EXPECT_EQ(out, static_cast<void*>(t));
    const ULONG held = t->AddRef();
    EXPECT_EQ(t->Release(), held - 1);
    EXPECT_EQ(t->Release(), held - 2);  // the reference QueryInterface gave
    close_window(1);
}

TEST_F(DropTargetTest, EnablingAgainKeepsTheNewerActionsAndRemovingTheLastFormatUnregisters) {
    ASSERT_NE(open_window(1, 0, 0, 100, 100, u"t", PB_Window_SystemMenu | PB_Window_Invisible), 0);
    HWND hwnd = hwnd_of(1);
    ASSERT_TRUE(enable_window_drop(1, DROP_FORMAT_FILES, DROP_COPY));
    ASSERT_TRUE(enable_window_drop(1, DROP_FORMAT_FILES, DROP_LINK));
    ASSERT_TRUE(enable_window_drop(1, DROP_FORMAT_TEXT, DROP_COPY));
    FileDataObject* files = new FileDataObject({{L"C:\\a"}, false, false});
    EXPECT_EQ(enter_and_drop(registered_target(hwnd), files, DROPEFFECT_COPY | DROPEFFECT_LINK, 0, POINT{1, 1}),
              static_cast<DWORD>(DROPEFFECT_LINK));
    EXPECT_EQ(wait_window_event(0), EV_WINDOW_DROP);
    EXPECT_EQ(current_drop_event_data()->action, DROP_LINK);

    // Text goes with all of its formats; files stay.
    ASSERT_TRUE(enable_window_drop(1, DROP_FORMAT_TEXT, 0));
    EXPECT_TRUE(is_drop_target(hwnd));
    BlockDataObject unicode(CF_UNICODETEXT, std::string("h\0i\0\0\0", 6));
    EXPECT_EQ(enter_and_drop(registered_target(hwnd), &unicode, DROPEFFECT_COPY, 0, POINT{1, 1}), 0u);
    ASSERT_TRUE(enable_window_drop(1, DROP_FORMAT_FILES, 0));
    EXPECT_FALSE(is_drop_target(hwnd));
    EXPECT_EQ(GetPropW(hwnd, L"PB_DropAccept"), nullptr);
    // Unregistered: someone else registers without having to revoke first.
    ForeignTarget foreign;
    EXPECT_EQ(RegisterDragDrop(hwnd, &foreign), S_OK);
    EXPECT_EQ(RevokeDragDrop(hwnd), S_OK);
    files->Release();

    // Closing the window unregisters it as well.
    ASSERT_TRUE(enable_window_drop(1, DROP_FORMAT_FILES, DROP_COPY));
    EXPECT_EQ(RegisterDragDrop(hwnd, &foreign), DRAGDROP_E_ALREADYREGISTERED);
    IDropTarget* target = registered_target(hwnd);
    target->AddRef();
    close_window(1);
    EXPECT_EQ(target->Release(), 0u);  // the platform let go of it: the target is gone
}

// Drops reach only the target the window's property names, and only such a
// window is revoked again: without the property the target must not stay
// registered, refusing every drop while it is called a success.
TEST_F(DropTargetTest, ATargetWhosePropertyCannotBeSetIsNotRegistered) {
    ASSERT_NE(open_window(1, 0, 0, 100, 100, u"t", PB_Window_SystemMenu | PB_Window_Invisible), 0);
    HWND hwnd = hwnd_of(1);
    {
        RefusedProperty refused(L"PB_DropAccept");
        ASSERT_TRUE(refused.diverted());
        SetLastError(0);
        EXPECT_FALSE(enable_window_drop(1, DROP_FORMAT_FILES, DROP_COPY));
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY));
    }
    EXPECT_FALSE(is_drop_target(hwnd));
    ForeignTarget foreign;
    EXPECT_EQ(RegisterDragDrop(hwnd, &foreign), S_OK);
    EXPECT_EQ(RevokeDragDrop(hwnd), S_OK);
    EXPECT_TRUE(enable_window_drop(1, DROP_FORMAT_FILES, DROP_COPY));
    EXPECT_TRUE(is_drop_target(hwnd));
}

TEST_F(DropTargetTest, RefusedDataGivesNoEventAndOtherFormatsCarryTheirBlocks) {
    ASSERT_NE(open_window(1, 0, 0, 100, 100, u"t", PB_Window_SystemMenu | PB_Window_Invisible), 0);
    HWND hwnd = hwnd_of(1);
    ASSERT_TRUE(enable_window_drop(1, DROP_FORMAT_FILES, DROP_COPY | DROP_MOVE));
    ASSERT_TRUE(enable_window_drop(1, DROP_FORMAT_TEXT, DROP_COPY));
    ASSERT_TRUE(enable_drop_target(hwnd, DROP_OWNER_WINDOW, 1, DROP_FORMAT_PRIVATE, DROP_MOVE, 0xB10B));
    drain();

    FileDataObject* refusing = new FileDataObject({{L"C:\\a"}, true, false});
    EXPECT_EQ(enter_and_drop(registered_target(hwnd), refusing, DROPEFFECT_COPY, 0, POINT{1, 1}), 0u);
    refusing->Release();
    EXPECT_EQ(queued_event_count(), 0u);

    // Nothing the target accepts, or no action in common: refused at once.
    BlockDataObject bitmap(CF_BITMAP, "x");
    EXPECT_EQ(enter_and_drop(registered_target(hwnd), &bitmap, DROPEFFECT_COPY, 0, POINT{1, 1}), 0u);
    FileDataObject* files = new FileDataObject({{L"C:\\a"}, false, false});
    EXPECT_EQ(enter_and_drop(registered_target(hwnd), files, DROPEFFECT_LINK, 0, POINT{1, 1}), 0u);
    files->Release();
    EXPECT_EQ(queued_event_count(), 0u);

    const std::string text("h\0i\0\0\0", 6);
    BlockDataObject unicode(CF_UNICODETEXT, text);
    POINT origin{0, 0};
    ClientToScreen(hwnd, &origin);
    EXPECT_EQ(enter_and_drop(registered_target(hwnd), &unicode, DROPEFFECT_COPY | DROPEFFECT_MOVE, 0,
                             POINT{origin.x + 7, origin.y + 9}),
              static_cast<DWORD>(DROPEFFECT_COPY));
    ASSERT_EQ(wait_window_event(0), EV_WINDOW_DROP);
    const DropEventData* d = current_drop_event_data();
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->format, DROP_FORMAT_UNICODE_TEXT);
    EXPECT_EQ(d->x, 7);
    EXPECT_EQ(d->y, 9);
    ASSERT_GE(d->size, text.size());  // the block's whole size, which the platform may round up
    EXPECT_EQ(std::string(static_cast<const char*>(d->data), text.size()), text);
    EXPECT_EQ(dropped_files_text(), u"");

    std::string type("\x0B\xB1\0\0", 4);
    BlockDataObject mine(static_cast<CLIPFORMAT>(DROP_FORMAT_PRIVATE), type);
    EXPECT_EQ(enter_and_drop(registered_target(hwnd), &mine, DROPEFFECT_COPY | DROPEFFECT_MOVE, 0, origin),
              static_cast<DWORD>(DROPEFFECT_MOVE));
    ASSERT_EQ(wait_window_event(0), EV_WINDOW_DROP);
    d = current_drop_event_data();
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->format, DROP_FORMAT_PRIVATE);
    EXPECT_EQ(d->private_type, 0xB10Bu);
    EXPECT_EQ(d->data, nullptr);
    // Another private type, and a block too short to hold one, are refused.
    BlockDataObject other(static_cast<CLIPFORMAT>(DROP_FORMAT_PRIVATE), std::string("\x0C\xB1\0\0", 4));
    EXPECT_EQ(enter_and_drop(registered_target(hwnd), &other, DROPEFFECT_MOVE, 0, origin), 0u);
    BlockDataObject short_block(static_cast<CLIPFORMAT>(DROP_FORMAT_PRIVATE), std::string("\x0B\xB1", 2));
    EXPECT_EQ(enter_and_drop(registered_target(hwnd), &short_block, DROPEFFECT_MOVE, 0, origin), 0u);
    EXPECT_EQ(queued_event_count(), 0u);
}

TEST_F(DropTargetTest, AMalformedFileListFromAnotherProcessGivesOnlyItsCompleteNames) {
    const std::intptr_t w = open_target(4);
    ASSERT_TRUE(enable_window_drop(w, DROP_FORMAT_FILES, DROP_COPY));
    const DragRun run = drag(u"--malformed --to " + drag_point(client_centre_on_screen(hwnd_of(w))) +
                             u" C:\\complete.bin C:\\cut-off-name");
    EXPECT_EQ(run.status, 0u) << run.out;
    ASSERT_EQ(drops.size(), 1u);
    EXPECT_EQ(drops[0].text, u"C:\\complete.bin");
}

// ---------------------------------------------------------------- feedback in list-view and tree-view controls

TEST_F(DropTargetTest, ListAndTreeControlsHighlightTheItemUnderTheDragAndSelectItOnTheDrop) {
    ASSERT_NE(open_window(1, 0, 0, 300, 300, u"t", PB_Window_SystemMenu | PB_Window_Invisible), 0);
    HWND list = CreateWindowExW(0, L"SysListView32", L"", WS_CHILD | WS_VISIBLE | LVS_REPORT, 0, 0, 300, 140,
                                hwnd_of(1), nullptr, nullptr, nullptr);
    HWND tree = CreateWindowExW(0, L"SysTreeView32", L"", WS_CHILD | WS_VISIBLE, 0, 150, 300, 140, hwnd_of(1), nullptr,
                                nullptr, nullptr);
    ASSERT_TRUE(list && tree);
    LVCOLUMNW column{};
    column.mask = LVCF_WIDTH;
    column.cx = 200;
    SendMessageW(list, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
    std::vector<HTREEITEM> nodes;
    for (int i = 0; i < 4; ++i) {
        wchar_t text[] = L"item";
        LVITEMW it{};
        it.mask = LVIF_TEXT;
        it.iItem = i;
        it.pszText = text;
        SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&it));
        TVINSERTSTRUCTW ins{};
        ins.hParent = TVI_ROOT;
        ins.hInsertAfter = TVI_LAST;
        ins.item.mask = TVIF_TEXT;
        ins.item.pszText = text;
        nodes.push_back(
            reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&ins))));
    }
    LVITEMW both{};
    both.stateMask = both.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(list, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&both));
    ASSERT_TRUE(enable_drop_target(list, DROP_OWNER_LIST_ICON, 21, DROP_FORMAT_FILES, DROP_COPY));
    ASSERT_TRUE(enable_drop_target(tree, DROP_OWNER_TREE, 22, DROP_FORMAT_FILES, DROP_COPY));

    auto list_item_point = [list](int i) {
        RECT r{LVIR_BOUNDS, 0, 0, 0};
        SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r));
        POINT p{r.left + 5, (r.top + r.bottom) / 2};
        ClientToScreen(list, &p);
        return POINTL{p.x, p.y};
    };
    auto state = [list](int i) {
        return static_cast<UINT>(SendMessageW(list, LVM_GETITEMSTATE, static_cast<WPARAM>(i),
                                              LVIS_DROPHILITED | LVIS_SELECTED | LVIS_FOCUSED));
    };
    FileDataObject* files = new FileDataObject({{L"C:\\a"}, false, false});
    IDropTarget* t = registered_target(list);
    DWORD effect = DROPEFFECT_COPY;
    t->DragEnter(files, 0, list_item_point(1), &effect);
    EXPECT_EQ(state(1) & LVIS_DROPHILITED, static_cast<UINT>(LVIS_DROPHILITED));
    effect = DROPEFFECT_COPY;
    t->DragOver(0, list_item_point(2), &effect);
    EXPECT_EQ(state(1) & LVIS_DROPHILITED, 0u);
    EXPECT_EQ(state(2) & LVIS_DROPHILITED, static_cast<UINT>(LVIS_DROPHILITED));
    effect = DROPEFFECT_COPY;
    t->Drop(files, 0, list_item_point(2), &effect);
    EXPECT_EQ(state(0), 0u);
    EXPECT_EQ(state(2), static_cast<UINT>(LVIS_SELECTED | LVIS_FOCUSED));
    ASSERT_EQ(wait_window_event(0), EV_GADGET_DROP);
    EXPECT_EQ(current_event_object(), 21);
    EXPECT_EQ(current_event_window(), 1);
    EXPECT_EQ(dropped_files_text(), u"C:\\a");
    effect = DROPEFFECT_COPY;
    t->DragEnter(files, 0, list_item_point(3), &effect);
    t->DragLeave();
    EXPECT_EQ(state(3), 0u);

    auto tree_point = [tree](HTREEITEM item) {
        RECT r{};
        std::memcpy(&r, &item, sizeof item);  // the item goes in, its rectangle comes out
        SendMessageW(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&r));
        POINT p{r.left + 2, (r.top + r.bottom) / 2};
        ClientToScreen(tree, &p);
        return POINTL{p.x, p.y};
    };
    auto tree_get = [tree](WPARAM which) {
        return reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, which, 0));
    };
    t = registered_target(tree);
    effect = DROPEFFECT_COPY;
    t->DragEnter(files, 0, tree_point(nodes[1]), &effect);
    EXPECT_EQ(tree_get(TVGN_DROPHILITE), nodes[1]);
    effect = DROPEFFECT_COPY;
    t->DragOver(0, tree_point(nodes[3]), &effect);
    EXPECT_EQ(tree_get(TVGN_DROPHILITE), nodes[3]);
    effect = DROPEFFECT_COPY;
    t->Drop(files, 0, tree_point(nodes[3]), &effect);
    EXPECT_EQ(tree_get(TVGN_DROPHILITE), nullptr);
    EXPECT_EQ(tree_get(TVGN_CARET), nodes[3]);
    ASSERT_EQ(wait_window_event(0), EV_GADGET_DROP);
    EXPECT_EQ(current_event_object(), 22);
    files->Release();
}

}  // namespace

// Drop targets with real drags from another process (blobsmith-drag-source),
// and the drop-target object's contract with the platform.
#include "window/drop_target.h"

#include <string>
#include <vector>

#include "support/drag_source_launch_win32.h"
#include "support/file_data_object_win32.h"
#include "support/scratch_dir.h"
#include "window_test_support_win32.h"

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

}  // namespace

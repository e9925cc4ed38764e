// Closing the main window: the timer stops before the fonts go, then the
// loop is told to end with code 0.
#include "window_fixture.h"

#include <cstring>
#include <vector>

namespace {

struct Call {
    const char* function;
    UINT_PTR first;
    UINT_PTR second;
};

std::vector<Call> calls;
decltype(&KillTimer) realKillTimer = nullptr;
decltype(&DeleteObject) realDeleteObject = nullptr;
decltype(&PostQuitMessage) realPostQuitMessage = nullptr;

BOOL WINAPI RecordKillTimer(HWND window, UINT_PTR id)
{
    calls.push_back({"KillTimer", reinterpret_cast<UINT_PTR>(window), id});
    return realKillTimer(window, id);
}

BOOL WINAPI RecordDeleteObject(HGDIOBJ object)
{
    calls.push_back({"DeleteObject", reinterpret_cast<UINT_PTR>(object), 0});
    return realDeleteObject(object);
}

void WINAPI RecordPostQuitMessage(int code)
{
    calls.push_back({"PostQuitMessage", static_cast<UINT_PTR>(code), 0});
    realPostQuitMessage(code);
}

// The program's calls into the system go through this module's import
// table; swapping an entry lets the test see them in order, like a
// debugger's breakpoint, without changing what they do.
void** ImportSlot(const char* dll, const char* function)
{
    BYTE* base = reinterpret_cast<BYTE*>(GetModuleHandleW(nullptr));
    const auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* entry = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
         entry->Name != 0; ++entry) {
        if (_stricmp(reinterpret_cast<char*>(base + entry->Name), dll) != 0)
            continue;
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + entry->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + entry->FirstThunk);
        for (; names->u1.AddressOfData != 0; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal))
                continue;
            const auto* byName =
                reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<const char*>(byName->Name), function) == 0)
                return reinterpret_cast<void**>(&slots->u1.Function);
        }
    }
    return nullptr;
}

void* SwapImport(const char* dll, const char* function, void* replacement)
{
    void** slot = ImportSlot(dll, function);
    if (slot == nullptr)
        return nullptr;
    DWORD protection = 0;
    VirtualProtect(slot, sizeof(void*), PAGE_READWRITE, &protection);
    void* previous = *slot;
    *slot = replacement;
    VirtualProtect(slot, sizeof(void*), protection, &protection);
    return previous;
}

} // namespace

using DestroyTest = MainWindowTest;

TEST_F(DestroyTest, TimerStopsBeforeFontsAreDeleted)
{
    const HFONT title = titleFont;
    const HFONT body = bodyFont;
    realKillTimer = reinterpret_cast<decltype(&KillTimer)>(
        SwapImport("user32.dll", "KillTimer", reinterpret_cast<void*>(RecordKillTimer)));
    realDeleteObject = reinterpret_cast<decltype(&DeleteObject)>(
        SwapImport("gdi32.dll", "DeleteObject", reinterpret_cast<void*>(RecordDeleteObject)));
    realPostQuitMessage = reinterpret_cast<decltype(&PostQuitMessage)>(SwapImport(
        "user32.dll", "PostQuitMessage", reinterpret_cast<void*>(RecordPostQuitMessage)));
    ASSERT_NE(nullptr, realKillTimer);
    ASSERT_NE(nullptr, realDeleteObject);
    ASSERT_NE(nullptr, realPostQuitMessage);

    calls.clear();
    EXPECT_TRUE(DestroyWindow(window));
    const std::vector<Call> seen = calls;

    SwapImport("user32.dll", "KillTimer", reinterpret_cast<void*>(realKillTimer));
    SwapImport("gdi32.dll", "DeleteObject", reinterpret_cast<void*>(realDeleteObject));
    SwapImport("user32.dll", "PostQuitMessage", reinterpret_cast<void*>(realPostQuitMessage));

    static const Call expected[] = {
        {"KillTimer", reinterpret_cast<UINT_PTR>(window), TICK_TIMER_ID},
        {"DeleteObject", reinterpret_cast<UINT_PTR>(title), 0},
        {"DeleteObject", reinterpret_cast<UINT_PTR>(body), 0},
        {"PostQuitMessage", 0, 0},
    };
    ASSERT_EQ(sizeof(expected) / sizeof(expected[0]), seen.size());
    for (size_t i = 0; i < seen.size(); ++i) {
        SCOPED_TRACE(testing::Message() << "call " << i);
        EXPECT_STREQ(expected[i].function, seen[i].function);
        EXPECT_EQ(expected[i].first, seen[i].first);
        EXPECT_EQ(expected[i].second, seen[i].second);
    }

    // And what those calls did: both fonts gone, the quit message with 0.
    EXPECT_EQ(0u, GetObjectType(title));
    EXPECT_EQ(0u, GetObjectType(body));
    MSG quit = {};
    ASSERT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(0u, quit.wParam);
}

// Sent on its own, WM_DESTROY leaves the window alive, so the timer can be
// watched: it ticks before and is gone after, each waited for several periods.
TEST_F(DestroyTest, DestroyMessageStopsTheTimer)
{
    ASSERT_EQ(1, PumpMessages(5000, window, 1));
    EXPECT_EQ(0, SendMessageW(window, WM_DESTROY, 0, 0));
    EXPECT_EQ(0, PumpMessages(3000, window, 1));
    // Killing it again fails: there is no such timer any more.
    EXPECT_FALSE(KillTimer(window, TICK_TIMER_ID));
}

// A due press reaches the system's input stream: a low-level keyboard hook
// on its own thread sees exactly what the program injects.
#include "window_fixture.h"

#include <ctime>
#include <vector>

namespace {

struct KeyEvent {
    DWORD vk;
    WPARAM message;
    DWORD flags;
};

std::vector<KeyEvent> keyEvents; // written by the hook thread only while it runs
HANDLE hookReady = nullptr;

LRESULT CALLBACK RecordKey(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION) {
        const auto* key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
        keyEvents.push_back({key->vkCode, wParam, key->flags});
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Low-level hooks are called on the thread that set them, from its loop.
DWORD WINAPI HookThread(void*)
{
    MSG message;
    PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);
    HHOOK hook = SetWindowsHookExW(WH_KEYBOARD_LL, RecordKey, GetModuleHandleW(nullptr), 0);
    SetEvent(hookReady);
    if (hook == nullptr)
        return 1;
    while (GetMessageW(&message, nullptr, 0, 0) > 0)
        DispatchMessageW(&message);
    UnhookWindowsHookEx(hook);
    return 0;
}

class KeyPressTest : public MainWindowTest {
  protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        keyEvents.clear();
        hookReady = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        thread = CreateThread(nullptr, 0, HookThread, nullptr, 0, &threadId);
        ASSERT_NE(nullptr, thread);
        ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(hookReady, 5000));
    }
    // Gives the hook time to see what was sent, then stops its thread.
    std::vector<KeyEvent> StopHook()
    {
        PumpMessages(500);
        PostThreadMessageW(threadId, WM_QUIT, 0, 0);
        WaitForSingleObject(thread, 5000);
        DWORD code = 99;
        GetExitCodeThread(thread, &code);
        EXPECT_EQ(0u, code) << "the hook could not be set";
        CloseHandle(thread);
        CloseHandle(hookReady);
        thread = nullptr;
        return keyEvents;
    }
    void TearDown() override
    {
        if (thread != nullptr)
            StopHook();
        MainWindowTest::TearDown();
    }
    HANDLE thread = nullptr;
    DWORD threadId = 0;
};

} // namespace

TEST_F(KeyPressTest, DuePressSendsOneF15DownAndUp)
{
    Click(window, IDC_ACTIVATE);
    ASSERT_TRUE(keepAwake.active);
    keepAwake.nextKeyTick = 1;
    EXPECT_EQ(0, Tick(window));
    const uint64_t afterTick = GetTickCount64();
    const std::vector<KeyEvent> seen = StopHook();

    static const KeyEvent expected[] = {
        {0x7E, WM_KEYDOWN, LLKHF_INJECTED},
        {0x7E, WM_KEYUP, LLKHF_INJECTED | LLKHF_UP},
    };
    ASSERT_EQ(2u, seen.size());
    for (size_t i = 0; i < 2; ++i) {
        SCOPED_TRACE(testing::Message() << "event " << i);
        EXPECT_EQ(expected[i].vk, seen[i].vk);
        EXPECT_EQ(expected[i].message, seen[i].message);
        EXPECT_EQ(expected[i].flags, seen[i].flags & (LLKHF_INJECTED | LLKHF_UP));
    }
    // The next press is drawn at once: 80 to 120 % of 5 minutes from now.
    EXPECT_TRUE(keepAwake.active);
    EXPECT_GE(keepAwake.nextKeyTick, afterTick - 1000 + 240000);
    EXPECT_LE(keepAwake.nextKeyTick, afterTick + 360000);
}

TEST_F(KeyPressTest, NoPressBeforeItIsDue)
{
    Click(window, IDC_ACTIVATE);
    ASSERT_TRUE(keepAwake.active);
    const uint64_t scheduled = keepAwake.nextKeyTick;
    EXPECT_EQ(0, Tick(window));
    EXPECT_EQ(0u, StopHook().size()); // none at the switch-on either
    EXPECT_EQ(scheduled, keepAwake.nextKeyTick);
}

TEST_F(KeyPressTest, SwitchOffTickSendsNoKeyEvenWhenAPressIsDue)
{
    Click(window, IDC_ACTIVATE);
    ASSERT_TRUE(keepAwake.active);
    keepAwake.nextKeyTick = 1;
    keepAwake.deactivateAt = static_cast<int64_t>(time(nullptr)) - 1;
    EXPECT_EQ(0, Tick(window));
    EXPECT_EQ(0u, StopHook().size());
    EXPECT_FALSE(keepAwake.active);
    EXPECT_TRUE(keepAwake.autoDeactivated);
}

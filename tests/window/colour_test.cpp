// Static-control colour requests: the colours set on the DC, and no GDI
// object made per request.
#include "window_fixture.h"

using ColourTest = MainWindowTest;

namespace {

// The controls that ask for static colours in this window, and one that
// does not, to show the answer does not depend on the sender.
const int kSenders[] = {IDC_STATE_LABEL, IDC_NEXT_KEY_LABEL, IDC_AUTO_LABEL, IDC_AUTO_CHECK,
                        IDC_ACTIVATE};

} // namespace

TEST_F(ColourTest, SetsTextAndBackgroundOnTheDc)
{
    HDC dc = CreateCompatibleDC(nullptr);
    ASSERT_NE(nullptr, dc);
    for (int id : kSenders) {
        SCOPED_TRACE(testing::Message() << "sender " << id);
        SetTextColor(dc, RGB(1, 2, 3));
        SetBkColor(dc, RGB(4, 5, 6));
        SetDCBrushColor(dc, RGB(7, 8, 9));
        const LRESULT brush = SendMessageW(window, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                           reinterpret_cast<LPARAM>(GetDlgItem(window, id)));
        EXPECT_EQ(reinterpret_cast<LRESULT>(GetStockObject(DC_BRUSH)), brush);
        EXPECT_EQ(0x00232323u, GetTextColor(dc));
        EXPECT_EQ(0x00FAFAFAu, GetBkColor(dc));
        EXPECT_EQ(0x00FAFAFAu, GetDCBrushColor(dc));
    }
    DeleteDC(dc);
}

TEST_F(ColourTest, ThousandRequestsCreateNoObject)
{
    HDC dc = CreateCompatibleDC(nullptr);
    ASSERT_NE(nullptr, dc);
    HWND label = GetDlgItem(window, IDC_STATE_LABEL);
    const LRESULT first = SendMessageW(window, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                       reinterpret_cast<LPARAM>(label));
    // Wine 8 does not count GDI objects: its figure stays put even when a
    // brush is made per request. The same handle every time is then the
    // evidence that nothing is made.
    const DWORD objectsBefore = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    int differentHandles = 0;
    for (int i = 0; i < 1000; ++i) {
        const LRESULT brush = SendMessageW(window, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                           reinterpret_cast<LPARAM>(label));
        if (brush != first)
            ++differentHandles;
    }
    const DWORD objectsAfter = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    EXPECT_EQ(objectsBefore, objectsAfter);
    EXPECT_EQ(0, differentHandles);
    EXPECT_EQ(OBJ_BRUSH, static_cast<int>(GetObjectType(reinterpret_cast<HGDIOBJ>(first))));
    DeleteDC(dc);
}

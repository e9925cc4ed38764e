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
    const LRESULT stock = reinterpret_cast<LRESULT>(GetStockObject(DC_BRUSH));
    // Wine 8's GetGuiResources is a stub (0, ERROR_CALL_NOT_IMPLEMENTED), so
    // there the GDI count cannot tell; the stock brush every time can.
    SetLastError(0);
    const DWORD objectsBefore = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    const bool counted = GetLastError() != ERROR_CALL_NOT_IMPLEMENTED;
    int otherHandles = 0;
    for (int i = 0; i < 1000; ++i)
        otherHandles += SendMessageW(window, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                     reinterpret_cast<LPARAM>(label)) != stock;
    EXPECT_EQ(0, otherHandles);
    if (counted) {
        EXPECT_LT(0u, objectsBefore) << "the window's fonts at least";
        EXPECT_EQ(objectsBefore, GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS));
    }
    DeleteDC(dc);
}

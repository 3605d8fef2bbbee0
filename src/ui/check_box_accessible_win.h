#pragma once
// What a screen reader learns of a check box. The system describes an
// owner-drawn button as a plain one, with no checked state; a check box
// hands out that description with its role and its state mended.
#include <windows.h>

// The answer to WM_GETOBJECT (wParam, objectId) for the check box `window`,
// which answers BM_GETCHECK. 0, the default answer, for other objects, and
// where the accessibility library is missing (Windows 95 as sold).
LRESULT DescribeCheckBox(HWND window, WPARAM wParam, LONG objectId);

#pragma once
// Resource numbers of the program's dialog templates.
#define IDD_SCREEN 102
#define IDD_MESSAGE_WINDOW 129
#define IDC_MESSAGE_TEXT 1000

#pragma once
// Resource numbers of the program's dialog templates.
#define IDD_SCREEN 102
#define IDD_LAUNCH_NOTICE 129
#define IDC_MESSAGE_TEXT 1000

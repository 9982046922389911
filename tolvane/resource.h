// Resource and command identifiers of tolvane. The numbers are fixed by the
// installer's contract with this program; never give one number two meanings.
#pragma once

// Icons
#define IDI_TOLVANE 100

// Dialog templates
#define IDD_CONFIRM 100
#define IDD_ABOUT 104
#define IDD_REGISTRATION_ERROR 105
#define IDD_REGISTRATION_WARNING 106
#define IDD_NO_FILES 107

// Controls (buttons 1 and 2 are IDOK and IDCANCEL)
#define IDC_FILE_LIST 1000
#define IDC_MESSAGE_TEXT 1001
#define IDC_FILE_NAME 1002

// Commands
#define IDM_ABOUT_SYSMENU 2024
#define IDM_ABOUT 3024

// Strings
#define IDS_ABOUT_MENU 1
#define IDS_MAIN_TITLE 2

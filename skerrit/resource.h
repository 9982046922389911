// Every resource and command id of skerrit. The dialog, control and command
// numbers are fixed by the uninstaller's contract with its configuration
// block and tests; never reuse a number for a second meaning.
#pragma once

// Icons
#define IDI_SKERRIT 102

// Dialog templates (100-112); each maps to a configuration record
#define IDD_ABOUT 100
#define IDD_WELCOME 101
#define IDD_REVIEW 102
#define IDD_REMOVAL 103
#define IDD_CANCELLED 104
#define IDD_ERROR 105
#define IDD_WELCOME_PICTURE 106
#define IDD_RESTART 110
#define IDD_SHARED_FILE 112

// Controls
#define IDC_ITEM_LIST 1000
#define IDC_LINK 1001
#define IDC_MESSAGE 1002
#define IDC_PATH_LINE 1003
#define IDC_PICTURE 1004
#define IDC_RESTART_NOW 1007
#define IDC_RESTART_LATER 1008
#define IDC_SHARED_PATH 1009

// Commands
#define IDM_SYSTEM_ABOUT 2024
#define IDM_START_REMOVAL 2025
#define IDM_ABOUT 3024

// Resource ids of the framework's Windows tests.
#pragma once

#define IDD_PLAIN        100
#define IDD_HOSTED       101
#define IDC_TEXT         10
#define IDC_BAR          11
#define IDS_FIRST        1
#define IDS_SECOND_BLOCK 17

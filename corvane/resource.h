// Resource ids of corvane. Plain defines: the resource compiler reads this too.
#pragma once

// Dialog templates
#define IDD_ABOUTBOX            100
#define IDD_CORVANE_DIALOG      102
#define IDD_UNZIP_STATUS        129
#define IDD_ZIP_STATUS          130

// Icons
#define IDR_MAINFRAME           128

// Strings
#define IDS_ABOUTBOX            101
#define IDS_ERROR_UNZIPPING     102
#define IDS_NO_MORE_THREADS     103
#define IDS_THREAD_NOT_STARTED  104
#define IDS_NO_STATUS_DIALOG    105
#define IDS_THREAD_TIMEOUT      107
#define IDS_ERROR_ZIPPING       108

// Commands
#define IDM_ABOUTBOX            0x0010
#define IDC_START_JOB           997

// Main dialog controls
#define IDC_NEW_ZIP_THREAD      1000
#define IDC_ZIP_FILENAME        1001
#define IDC_FILE_SPEC           1002
#define IDC_ITEM_LIST           1003
#define IDC_DESTINATION         1004
#define IDC_ZIP_RECURSE         1005
#define IDC_UNZIP_FILENAME      1006
#define IDC_NEW_UNZIP_THREAD    1007
#define IDC_UNZIP_RECURSE       1008
#define IDC_ZIP_EXTERNAL        1011
#define IDC_UNZIP_EXTERNAL      1012
#define IDC_MULTI_VOLUME        1017
#define IDC_CD_FIRST            1018

// Extraction status dialog controls
#define IDC_UNZIP_MINOR_BAR     1006
#define IDC_UNZIP_THREAD_ID     1007
#define IDC_UNZIP_MAJOR_BAR     1008
#define IDC_UNZIP_MINOR_TEXT    1009
#define IDC_UNZIP_CONTROL       1010
#define IDC_UNZIP_MAJOR_TEXT    1020

// Compression status dialog controls
#define IDC_ZIP_MINOR_TEXT      1012
#define IDC_ZIP_MAJOR_BAR       1013
#define IDC_ZIP_MINOR_BAR       1014
#define IDC_ZIP_THREAD_ID       1015
#define IDC_ZIP_CONTROL         1016
#define IDC_ZIP_MAJOR_TEXT      1019

// Static labels
#define IDC_STATIC              (-1)

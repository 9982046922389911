// Resource ids of the forms layer's tests.
#pragma once

#define IDS_TEST_CAPTION 100
#define IDM_TEST_MENU 200
#define IDM_TEST_OPTION 201
#define IDC_TEST_LABEL 300
#define IDC_TEST_FRAME 301
#define IDC_TEST_LIST 302
#define IDC_TEST_DISPLAY 303
#define IDC_TEST_COMBO 304
#define IDC_TEST_BUTTON 305
#define IDS_TEST_ITEM_FIRST 400

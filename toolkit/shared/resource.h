// Resource ids shared by the control DLLs (each DLL's script includes shared.rc).
#pragma once

// Strings 100-199: the external progress window and the controls' message boxes.
#define IDS_PROGRESS_CANCEL 100
#define IDS_PROGRESS_DEFAULT_TITLE 101
#define IDS_UNZIP_MESSAGE_TITLE 102
#define IDS_ZIP_MESSAGE_TITLE 103

// Type library: resource 1 of type TYPELIB in every control DLL.
#define IDR_TYPELIB 1

// Extraction runs of rename.zip into a fresh folder with "Allow Renaming" ticked.
#pragma once

#include <gtest/gtest.h>

#include "tests/ulmarsh/bench_session_win.h"
#include "ulmarsh/resource.h"

namespace ulmarsh_e2e {

constexpr int kExtract = 7;
constexpr int kAllowRenaming = 10;

// The file's last-write time as MS-DOS date and time words (local time).
inline bool DosStampOf(const std::string& path, WORD& date, WORD& time) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return false;
    FILETIME local;
    FileTimeToLocalFileTime(&data.ftLastWriteTime, &local);
    return FileTimeToDosDateTime(&local, &date, &time) != FALSE;
}

// Each word alone; -1 when the file cannot be read.
inline int DosDateOf(const std::string& path) {
    WORD date = 0, time = 0;
    return DosStampOf(path, date, time) ? date : -1;
}

inline int DosTimeOf(const std::string& path) {
    WORD date = 0, time = 0;
    return DosStampOf(path, date, time) ? time : -1;
}

class BenchRename : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(RegisterControls()); }

    void SetUp() override {
        ASSERT_TRUE(bench.main()) << "main form did not come up";
        destination = e2e::MakeTempFolder("ulmarsh-rename");
        bench.SetText(IDC_ZIPFILE, Fixture("rename.zip"));
        bench.SetText(IDC_DESTINATION, destination);
        bench.SelectFunction(kExtract);
        bench.TickOption(kAllowRenaming);
        ASSERT_TRUE(bench.OptionTicked(kAllowRenaming));
    }

    void TearDown() override { e2e::RemoveTree(destination); }

    // The next rename prompt, once the previous one has gone.
    HWND NextPrompt(HWND previous) {
        if (previous) e2e::WaitForWindowGone(previous);
        return bench.WaitForForm("UlmarshRenameForm", 5000);
    }

    std::string Extracted(const char* name) const { return destination + "\\" + name; }

    BenchSession bench;
    std::string destination;
};

}  // namespace ulmarsh_e2e

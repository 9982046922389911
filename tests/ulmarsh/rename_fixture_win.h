// Extraction runs of rename.zip into a fresh folder with "Allow Renaming" ticked.
#pragma once

#include <gtest/gtest.h>

#include "tests/ulmarsh/bench_session_win.h"
#include "ulmarsh/resource.h"

namespace ulmarsh_e2e {

constexpr int kExtract = 7;
constexpr int kAllowRenaming = 10;

// The file's last-write time as an MS-DOS date word (local time).
inline int DosDateOf(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return -1;
    FILETIME local;
    WORD date = 0, time = 0;
    FileTimeToLocalFileTime(&data.ftLastWriteTime, &local);
    FileTimeToDosDateTime(&local, &date, &time);
    return date;
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

// The system menu of skerrit's main window, read inside the program through a
// message hook.
#include <windows.h>

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "tests/driver/e2e_driver.h"
#include "tests/skerrit/skerrit_e2e_support_win.h"

using namespace skerrit_e2e;

namespace {

struct MenuLine {
    unsigned id;
    std::string kind;
    std::string text;
};

std::vector<MenuLine> ParseProbe(const std::string& content) {
    std::vector<MenuLine> lines;
    std::istringstream in(content);
    std::string line;
    while (std::getline(in, line)) {
        const std::size_t a = line.find('|');
        const std::size_t b = line.find('|', a + 1);
        if (a == std::string::npos || b == std::string::npos) continue;
        lines.push_back({static_cast<unsigned>(std::stoul(line.substr(0, a))), line.substr(a + 1, b - a - 1),
                         line.substr(b + 1)});
    }
    return lines;
}

TEST(SkerritSystemMenu, HasTheAboutItemAndNeitherSizeNorMaximize) {
    const std::string probe_file = TempFolder() + "skerrit_menu_probe.txt";
    DeleteFileA(probe_file.c_str());
    e2e::Process process = e2e::Start(e2e::BinPath("skerrit.exe"), "");
    HWND main = WaitForMainWindow(process.pid());
    ASSERT_NE(main, nullptr);

    HMODULE hook_dll = LoadLibraryA(e2e::BinPath("skerrit_menu_probe.dll").c_str());
    ASSERT_NE(hook_dll, nullptr);
    auto hook_proc = reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(hook_dll, "MenuProbeHook")));
    ASSERT_NE(hook_proc, nullptr);
    HHOOK hook = SetWindowsHookExA(WH_GETMESSAGE, hook_proc, hook_dll, GetWindowThreadProcessId(main, nullptr));
    ASSERT_NE(hook, nullptr);
    const UINT probe = RegisterWindowMessageA("SkerritMenuProbe");
    std::string content;
    e2e::WaitUntil([&] {
        PostMessageA(main, probe, 0, 0);
        Sleep(200);
        return e2e::ReadFile(probe_file, &content) && !content.empty();
    });
    UnhookWindowsHookEx(hook);

    const std::vector<MenuLine> menu = ParseProbe(content);
    ASSERT_GE(menu.size(), 2u) << content;
    EXPECT_EQ(menu.back().id, 2024u);
    EXPECT_EQ(menu.back().text, "&About Tavrin Uninstaller...");
    EXPECT_EQ(menu[menu.size() - 2].kind, "sep");
    for (const MenuLine& item : menu) {
        EXPECT_NE(item.id, static_cast<unsigned>(SC_SIZE)) << item.text;
        EXPECT_NE(item.id, static_cast<unsigned>(SC_MAXIMIZE)) << item.text;
    }
    bool has_close = false;
    for (const MenuLine& item : menu) has_close = has_close || item.id == SC_CLOSE;
    EXPECT_TRUE(has_close) << "the rest of the system menu stays";

    ASSERT_TRUE(e2e::ClickButton(WelcomeDialogOf(main), 2));
    EXPECT_TRUE(process.Wait(10000));
    FreeLibrary(hook_dll);
    DeleteFileA(probe_file.c_str());
}

}  // namespace

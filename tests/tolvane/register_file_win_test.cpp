// RegisterServerFile and RegisterTypeLibFile against fixtures built from
// source, in a folder of their own.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fixture_files_win.h"
#include "tests/driver/e2e_driver.h"
#include "tolvane/register_file_win.h"
#include "tolvane/register_list.h"

namespace tolvane {
namespace {

using namespace tolvane_test;

std::string CurrentFolder() {
    char folder[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, folder);
    return folder;
}

class RegisterFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = e2e::MakeTempFolder("tvreg");
        ASSERT_FALSE(root_.empty());
        if (root_.back() != '\\') root_ += '\\';
    }
    void TearDown() override {
        for (const std::string& name : keys_) DeleteServerKey(name);
        RemoveFixtureTypeLibRegistration();
        e2e::RemoveTree(root_);
    }
    std::string Place(const std::string& fixture, const std::string& relative) {
        const std::string target = root_ + relative;
        EXPECT_TRUE(PlaceFixture(fixture, target)) << target;
        return target;
    }
    std::string PlaceServer(const std::string& folder, const std::string& base_name) {
        keys_.push_back(base_name);
        DeleteServerKey(base_name);
        return Place(FixtureServer(), folder + "\\" + base_name + ".dll");
    }

    std::string root_;
    std::vector<std::string> keys_;
};

TEST_F(RegisterFileTest, ServerRegistersFromItsOwnFolderAndUnregisters) {
    const std::string dll = PlaceServer("srv folder", "tvreg_basic");
    const std::string before = CurrentFolder();

    ASSERT_TRUE(RegisterServerFile(dll, true));
    EXPECT_TRUE(ServerKeyExists("tvreg_basic"));
    EXPECT_EQ(ServerCalledFrom("tvreg_basic"), root_ + "srv folder");
    EXPECT_EQ(CurrentFolder(), before);

    ASSERT_TRUE(RegisterServerFile(dll, false));
    EXPECT_FALSE(ServerKeyExists("tvreg_basic"));
    EXPECT_EQ(CurrentFolder(), before);
}

TEST_F(RegisterFileTest, ServerFailuresLeaveTheCurrentFolderAlone) {
    const std::string before = CurrentFolder();
    const std::string no_export = Place(FixtureNoExport(), "x\\noexport.dll");
    const std::string failing = Place(FixtureFailing(), "y\\failing.dll");

    EXPECT_FALSE(RegisterServerFile(no_export, true));
    EXPECT_FALSE(RegisterServerFile(no_export, false));
    EXPECT_FALSE(RegisterServerFile(failing, true));
    EXPECT_FALSE(RegisterServerFile(failing, false));
    EXPECT_FALSE(RegisterServerFile(root_ + "missing\\none.dll", true));
    // An existing folder passes an existence check but cannot be loaded.
    EXPECT_FALSE(RegisterServerFile(root_ + "x", true));
    // Names too short for the type-library test are servers, and fail to load.
    EXPECT_FALSE(RegisterServerFile("ab", true));
    EXPECT_EQ(CurrentFolder(), before);
}

TEST_F(RegisterFileTest, TypeLibraryRegistersAndUnregistersForReal) {
    const std::string tlb = Place(FixtureTypeLib(), "libs\\fixture.tlb");
    RemoveFixtureTypeLibRegistration();

    ASSERT_TRUE(RegisterTypeLibFile(tlb, true));
    EXPECT_TRUE(FixtureTypeLibRegistered());

    ASSERT_TRUE(RegisterTypeLibFile(tlb, false));
    EXPECT_FALSE(FixtureTypeLibRegistered());
    // Nothing left to remove is not a failure.
    EXPECT_TRUE(RegisterTypeLibFile(tlb, false));
}

// Registered for another platform only, the library has nothing to remove
// here: unregistering it does not stop an uninstall.
TEST_F(RegisterFileTest, TypeLibraryRegisteredOnlyElsewhereUnregistersAsNothingToDo) {
    const std::string tlb = Place(FixtureTypeLib(), "libs\\fixture.tlb");
    RemoveFixtureTypeLibRegistration();
    ASSERT_TRUE(RegisterTypeLibFile(tlb, true));
    const std::string locale_key = TypeLibKey() + "\\1.0\\0";
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CLASSES_ROOT, (locale_key + "\\win64").c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>("x.tlb"), 6);
    RegCloseKey(key);
    ASSERT_EQ(RegDeleteTreeA(HKEY_CLASSES_ROOT, (locale_key + "\\win32").c_str()), ERROR_SUCCESS);
    EXPECT_TRUE(RegisterTypeLibFile(tlb, false));
    RemoveFixtureTypeLibRegistration();
}

TEST_F(RegisterFileTest, TypeLibraryLoadFailuresFailBothWays) {
    const std::string not_a_library = Place(FixtureNoExport(), "bad\\broken.tlb");
    EXPECT_FALSE(RegisterTypeLibFile(not_a_library, true));
    EXPECT_FALSE(RegisterTypeLibFile(not_a_library, false));
    EXPECT_FALSE(RegisterTypeLibFile(root_ + "none.tlb", true));
    EXPECT_FALSE(RegisterTypeLibFile(root_ + "none.tlb", false));
}

TEST_F(RegisterFileTest, ListedFileDispatchesOnTheEnding) {
    // A type library named without a dot and in capitals is still loaded as one.
    const std::string tlb = Place(FixtureTypeLib(), "libs\\FIXTURETLB");
    RemoveFixtureTypeLibRegistration();
    ASSERT_TRUE(RegisterListedFile(tlb, true));
    EXPECT_TRUE(FixtureTypeLibRegistered());
    // The same bytes under a server name are not a loadable module (servers
    // are registered in a child tolvane: see the end-to-end tests).
    const std::string as_server = Place(FixtureTypeLib(), "libs\\fixture.dll");
    EXPECT_FALSE(IsTypeLibraryName(as_server));
    EXPECT_FALSE(RegisterServerFile(as_server, true));
}

}  // namespace
}  // namespace tolvane

#include <gtest/gtest.h>

#include "tests/driver/e2e_driver.h"

namespace {

class DriverTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fixture_ = e2e::Start(e2e::BinPath("driver_fixture.exe"), "");
    ASSERT_TRUE(fixture_.valid());
    e2e::WindowQuery query;
    query.title = "Driver Fixture";
    query.pid = fixture_.pid();
    window_ = e2e::WaitForWindow(query);
    ASSERT_NE(window_, nullptr);
  }
  e2e::Process fixture_;
  HWND window_ = nullptr;
};

TEST_F(DriverTest, ReadsControlsOfAnotherProcess) {
  EXPECT_EQ(e2e::ClassName(window_), "DriverFixtureClass");
  auto items = e2e::ListBoxItems(window_, 100);
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(items[0], "C:\\Alpha\\one.txt");  // full text, not only the first character
  EXPECT_EQ(e2e::ControlText(window_, 101), "edit text");
  EXPECT_TRUE(e2e::IsChecked(window_, 102));
  auto controls = e2e::ListControls(window_);
  ASSERT_EQ(controls.size(), 4u);
  e2e::ScreenshotIfRequested("driver-fixture", window_);
  EXPECT_EQ(controls[3].id, 103);
  EXPECT_EQ(controls[3].text, "Press");
  EXPECT_TRUE(controls[3].visible);
}

TEST_F(DriverTest, ButtonClickAndCloseGiveTheirExitCodes) {
  ASSERT_TRUE(e2e::ClickButton(window_, 103));
  DWORD code = 0;
  ASSERT_TRUE(fixture_.Wait(10000, &code));
  EXPECT_EQ(code, 7u);

  e2e::Process second = e2e::Start(e2e::BinPath("driver_fixture.exe"), "");
  e2e::WindowQuery query;
  query.title = "Driver Fixture";
  query.pid = second.pid();
  HWND window = e2e::WaitForWindow(query);
  ASSERT_NE(window, nullptr);
  e2e::PostClose(window);
  ASSERT_TRUE(second.Wait(10000, &code));
  EXPECT_EQ(code, 3u);
}

}  // namespace

// The one fixture of the Windows tests: a fresh application per test, whose handler exceptions
// are collected instead of shown in a box, messages and keys posted through its loop, and a
// check at the end that no exception went unnoticed (a test that expects some clears errors_).
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "input.h"
#include "win/framework/application.h"

namespace sapala::win::testing {

class AppTest : public ::testing::Test {
 protected:
  void StartApplication() {
    app_ = std::make_unique<TApplication>();
    app_->OnException = [this](const std::string& m) { errors_.push_back(m); };
  }
  void TearDown() override {
    app_.reset();
    EXPECT_TRUE(errors_.empty()) << (errors_.empty() ? "" : errors_.front());
  }

  // Posted, then everything waiting handled.
  void Post(HWND to, UINT msg, WPARAM wp = 0, LPARAM lp = 0) {
    ::PostMessageW(to, msg, wp, lp);
    app_->ProcessMessages();
  }
  // A key pressed and released, with Shift held when asked.
  void Key(HWND to, WORD vk, bool shift = false) { PressKey(*app_, to, vk, shift ? VK_SHIFT : 0); }

  std::unique_ptr<TApplication> app_;
  std::vector<std::string> errors_;
};

}  // namespace sapala::win::testing

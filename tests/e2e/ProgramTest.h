#pragma once
// The frame of every test of kelvanor.exe from outside: a fresh folder for the run, gone afterwards.
#include <gtest/gtest.h>

#include "tests/e2e/ProgramWindows.h"

class ProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("kelvanor-" + std::string(::testing::UnitTest::GetInstance()->current_test_suite()->name()));
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override {
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
  }
  std::filesystem::path dir_;
};

#pragma once
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

#include "LogText.h"

namespace testsupport {

using logtext::kEol;
using logtext::kStampPattern;
using logtext::stampless;

using logtext::readFile;
using logtext::writeFile;

// Every test that touches the module's relative files runs in a fresh folder.
class InTempDir : public ::testing::Test {
  protected:
    void SetUp() override {
        std::random_device rd;
        dir_ = std::filesystem::temp_directory_path() /
               ("brisvane-unit-" + std::to_string(rd()) + std::to_string(rd()));
        std::filesystem::create_directories(dir_);
        previous_ = std::filesystem::current_path();
        std::filesystem::current_path(dir_);
    }
    void TearDown() override {
        std::filesystem::current_path(previous_);
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
    std::string logText() const { return readFile(dir_ / "brisvane.log"); }
    std::filesystem::path dir_;

  private:
    std::filesystem::path previous_;
};

}  // namespace testsupport

// The headless platform for tests: data files from the build's data folder,
// the state file in a private temporary folder removed at the end.
#pragma once

#include <string>

#include "platform/headless/headless_game.h"

class TestPlatform : public PlHeadlessGame {
  public:
    TestPlatform();
    ~TestPlatform() override;

    // Writes or reads the state file as raw bytes.
    void WriteStateBytes(const std::string& bytes) const;
    std::string ReadStateBytes() const;
    void UseStateFile(std::string path) { stateFile_ = std::move(path); }

    std::string tempDir;  // private, removed at the end
};

// A fresh empty temporary directory.
std::string MakeTempDir();
// Removes a folder and everything in it, however deep (support/posix, support/win32).
void RemoveTree(const std::string& path);

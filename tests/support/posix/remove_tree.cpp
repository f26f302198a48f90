#include <filesystem>

#include "support/test_platform.h"

void RemoveTree(const std::string& path) {
    std::error_code ignored;
    if (!path.empty()) std::filesystem::remove_all(path, ignored);
}

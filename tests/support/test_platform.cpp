#include "support/test_platform.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "shell/joystick_layout.h"

std::string MakeTempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "bw-test-XXXXXX").string();
    char* made = mkdtemp(pattern.data());
    return made ? std::string(made) : std::string();
}

void RemoveTree(const std::string& path) {
    std::error_code ignored;
    if (!path.empty()) std::filesystem::remove_all(path, ignored);
}

TestPlatform::TestPlatform() : tempDir(MakeTempDir()) {}

TestPlatform::~TestPlatform() {
    RemoveTree(tempDir);
}

String TestPlatform::ResolveResourcePath(StringView path) {
    String mapped = MapVorlekPath(path);
    static constexpr StringView kData = u"./data/";
    if (mapped.size() >= kData.size() && StringView(mapped).substr(0, kData.size()) == kData)
        return Widen(dataDir + "/") + mapped.substr(kData.size());
    return mapped;
}

String TestPlatform::StateFilePath() {
    return Widen(StateFile());
}

bool TestPlatform::ReadJoystick(int port, float* x, float* y, float* z, bool* buttons) {
    joystickReads++;
    if (port < 0 || port >= static_cast<int>(joysticks.size()) || !joysticks[port].present)
        return false;
    const ScriptedJoystick& j = joysticks[port];
    RearrangePadAxes(j.axisCount, j.axes.data(), x, y, z);
    for (int i = 0; i < j.buttonCount && i < 32; i++) buttons[i] = j.buttons[i];
    return true;
}

void TestPlatform::WriteStateBytes(const std::string& bytes) const {
    std::ofstream(StateFile(), std::ios::binary) << bytes;
}

std::string TestPlatform::ReadStateBytes() const {
    std::ifstream in(StateFile(), std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

#include "platform/headless/headless_game.h"

#include "platform/joystick_layout.h"

namespace {

// Folder names are UTF-8, as the operating system layer takes them back.
String FromUtf8(const std::string& path) {
    return DecodeText(reinterpret_cast<const uint8_t*>(path.data()), path.size());
}

}  // namespace

String PlHeadlessGame::ResolveResourcePath(StringView path) {
    String mapped = MapVorlekPath(path);
    static constexpr StringView kData = u"./data/";
    if (mapped.size() >= kData.size() && StringView(mapped).substr(0, kData.size()) == kData)
        return FromUtf8(dataDir + "/") + mapped.substr(kData.size());
    return mapped;
}

String PlHeadlessGame::StateFilePath() {
    return FromUtf8(stateFile_);
}

bool PlHeadlessGame::ReadJoystick(int port, float* x, float* y, float* z, bool* buttons) {
    joystickReads++;
    if (port < 0 || port >= static_cast<int>(joysticks.size()) || !joysticks[port].present)
        return false;
    const ScriptedJoystick& j = joysticks[port];
    if (j.mapped) {
        ArrangeGamepad(j.gamepad, x, y, z, buttons);
        return true;
    }
    RearrangePadAxes(j.axisCount, j.axes.data(), x, y, z);
    for (int i = 0; i < j.buttonCount && i < 32; i++) buttons[i] = j.buttons[i];
    return true;
}

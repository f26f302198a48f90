// The draw list: what an update draws, as fixed-size commands in one
// preallocated block, replayed by every render.
#pragma once

#include <array>
#include <cstddef>
#include <type_traits>

// The game-wide marker for a missing value.
constexpr int kNone = -3717;
constexpr float kNoneF = -3717.0f;

// Command kinds (image commands use the image slot, >= 0).
constexpr float kCmdRect = -3717.0f;
constexpr float kCmdEllipse = -3716.0f;
constexpr float kCmdLine = -3715.0f;

// Blend value that the replay draws additively; 1 is ordinary alpha blending.
constexpr int kAdditiveBlend = 3;

// One command: 15 floats. The unwritten entries keep whatever an earlier
// command left there; nothing reads them.
struct DrawCommand {
    float kind;
    float x, y;          // image handle, rectangle corner, ellipse centre or line start
    float rotation;      // degrees, negated; images only
    float sizeX, sizeY;  // image scale, rectangle size, ellipse radii or line end
    float frame;
    float alpha;
    float unwritten8, unwritten9;
    float red, green, blue;
    float blend;
    float unwritten14;
};
static_assert(sizeof(DrawCommand) == 15 * sizeof(float));
static_assert(std::is_standard_layout_v<DrawCommand>);
// The replay tool's recorded hashes read the entries in this order.
static_assert(offsetof(DrawCommand, alpha) == 7 * sizeof(float));
static_assert(offsetof(DrawCommand, red) == 10 * sizeof(float));
static_assert(offsetof(DrawCommand, blend) == 13 * sizeof(float));

struct DrawList {
    static constexpr int kCommandSize = 15;  // floats per command, the unit of drawCount
    static constexpr int kCommands = 2500;   // 37500 floats
    static constexpr int kLimit = 37485;     // queueing stops here: 2499 commands

    std::array<DrawCommand, kCommands> commands{};
    int drawCount = 0;  // floats in use, a multiple of kCommandSize

    // The draw state every queued command copies.
    float drawScaleX = 0, drawScaleY = 0, drawRotation = 0;
    float drawColorR = 0, drawColorG = 0, drawColorB = 0, drawAlpha = 0;
    int drawBlend = 0;

    int CommandCount() const { return drawCount / kCommandSize; }
    const DrawCommand& Command(int i) const { return commands[static_cast<size_t>(i)]; }

    void ResetState();
    void SetScale(float sx, float sy);
    void SetColor(float r, float g, float b, float a);
    // Appends one command with the current draw state; a full list drops it.
    void Push(float kind, float x, float y, float sizeX, float sizeY, float frame);
};
static_assert(sizeof(DrawList::commands) == 37500 * sizeof(float));

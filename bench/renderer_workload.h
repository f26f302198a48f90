// The sprite workload through our own renderer: its one image, its drawing
// calls as the game makes them, and its vertices as GL receives them (for the
// floors, which draw those very bytes). Only for programs that link the
// renderer; peer programs use sprite_workload.h alone.
#pragma once

#include <memory>
#include <vector>

#include "graphics/context.h"
#include "graphics/image.h"
#include "graphics/renderer.h"
#include "sprite_workload.h"

namespace sprite_workload {

// The one sprite image of the workload, on the given renderer.
inline std::shared_ptr<c_Image> SpriteImage(PlGraphics& graphics) {
    auto surface = graphics.BlankSurface(kTextureSize, kTextureSize);
    const auto pixels = TexturePixels();
    graphics.WritePixels(surface.get(),
                         {reinterpret_cast<const int32_t*>(pixels.data()), pixels.size()}, 0, 0,
                         kTextureSize, kTextureSize, 0, kTextureSize);
    return std::make_shared<c_Image>()->Init(surface, 1, CentreHandle);
}

// The workload's drawing calls, as the game's framework makes them.
inline void PaintSprites(c_Image* sprite) {
    for (const Sprite& s : Sprites()) {
        SetColor(s.r, s.g, s.b);
        SetAlpha(s.alpha);
        PaintImage(sprite, s.x, s.y, s.rotation, s.scale, s.scale, 0);
    }
}

// A frame's quads as GL receives them: the vertices, batch after batch.
struct RecordedFrame {
    std::vector<Vertex> vertices;
    std::vector<int> batchQuads;
};

// Keeps what the renderer hands to GL.
class RecordingBackend final : public NullGlBackend {
  public:
    RecordedFrame frame;

  protected:
    void GlArrayPointers(const void* array) override { array_ = static_cast<const Vertex*>(array); }
    void GlDraw(int kind, int vertexCount, const uint16_t* quadIndices) override {
        NullGlBackend::GlDraw(kind, vertexCount, quadIndices);
        if (kind != 4 || !array_) return;
        frame.vertices.insert(frame.vertices.end(), array_, array_ + vertexCount);
        frame.batchQuads.push_back(vertexCount / 4);
    }

  private:
    const Vertex* array_ = nullptr;
};

// The workload's vertices, computed once by our renderer, in its batches.
inline RecordedFrame RecordWorkload() {
    auto recorder = std::make_unique<RecordingBackend>();
    RecordingBackend* backend = recorder.get();
    PlGraphics graphics(std::move(recorder));
    graphics.SetSize(kWindowSize, kWindowSize);
    SetGraphicsDevice(&graphics);
    auto image = SpriteImage(graphics);
    graphics.FrameBegin();
    BeginRenderState();
    PaintSprites(image.get());
    EndRenderState();
    graphics.FrameEnd();
    SetGraphicsDevice(nullptr);
    return std::move(backend->frame);
}

}  // namespace sprite_workload

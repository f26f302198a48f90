// Images: a surface cut into equal frames, with a handle point.
#pragma once

#include <memory>
#include <vector>

#include "core/text.h"
#include "graphics/surface.h"

struct c_Frame {
    int x = 0;
    int y = 0;
};

enum ImageFlags {
    CentreHandle = 1,
    XBorder = 2,
    YBorder = 4,
    WholeSurface = 65536,
};

class c_Image : public std::enable_shared_from_this<c_Image> {
  public:
    int SetHandlePoint(float tx, float ty);
    int ApplyFrameFlags(int flags);
    // Frames as a horizontal strip over the whole surface; none if frameCount < 1
    // or larger than the surface width (frames would be empty).
    std::shared_ptr<c_Image> Init(std::shared_ptr<PlSurface> surface, int frameCount, int flags);
    // Frames as cells of `source`, walked row by row (rows restart at x = 0).
    // Cells past the source's edge end the program ("Image frame outside surface");
    // a frame count below 1 or an empty cell size gives none.
    std::shared_ptr<c_Image> Init(int x, int y, int frameWidth, int frameHeight, int frameCount,
                                  int flags, std::shared_ptr<c_Image> source);
    // None unless this image has exactly one frame.
    std::shared_ptr<c_Image> CutImage(int x, int y, int frameWidth, int frameHeight, int frameCount,
                                      int flags);
    int FrameCount() const { return static_cast<int>(frames.size()); }
    // The frame to draw, or none without a surface or for an index outside the frames.
    const c_Frame* FrameToDraw(int frame) const {
        if (!surface || frame < 0 || frame >= FrameCount()) return nullptr;
        return &frames[static_cast<size_t>(frame)];
    }

    std::shared_ptr<PlSurface> surface;
    int width = 0;
    int height = 0;
    std::vector<c_Frame> frames;
    int flags = 0;
    float tx = 0;
    float ty = 0;
    std::shared_ptr<c_Image> source;

  private:
    std::shared_ptr<c_Image> Self();
};

std::shared_ptr<c_Image> OpenImage(StringView path, int frameCount, int flags);
std::shared_ptr<c_Image> OpenImage(StringView path, int frameWidth, int frameHeight, int frameCount,
                                   int flags);
// Frames outside 0..count-1 draw nothing, as does drawing outside a render.
// (The turned and scaled PaintImage is in graphics/context.h, inline.)
void PaintImage(c_Image* image, float x, float y, int frame);

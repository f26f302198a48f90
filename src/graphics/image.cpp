// Images cut into frames, and painting one frame through the renderer.
#include "graphics/image.h"

#include <algorithm>

#include "core/errors.h"
#include "graphics/context.h"

// An image not held by a shared_ptr still works; references to it then do not own it.
std::shared_ptr<c_Image> c_Image::Self() {
    if (std::shared_ptr<c_Image> owned = weak_from_this().lock()) return owned;
    return std::shared_ptr<c_Image>(std::shared_ptr<c_Image>(), this);
}

int c_Image::SetHandlePoint(float handleX, float handleY) {
    tx = handleX;
    ty = handleY;
    flags &= ~CentreHandle;
    return 0;
}

// Borders shrink every cell; a lone frame covering the surface blits whole.
int c_Image::ApplyFrameFlags(int newFlags) {
    flags = newFlags;
    if (flags & XBorder) {
        for (c_Frame& f : frames) f.x += 1;
        width -= 2;
    }
    if (flags & YBorder) {
        for (c_Frame& f : frames) f.y += 1;
        height -= 2;
    }
    if (flags & CentreHandle) SetHandlePoint(width * 0.5f, height * 0.5f);
    if (frames.size() == 1 && frames[0].x == 0 && frames[0].y == 0 && surface &&
        width == surface->Width() && height == surface->Height()) {
        flags |= WholeSurface;
    }
    return 0;
}

std::shared_ptr<c_Image> c_Image::Init(std::shared_ptr<PlSurface> newSurface, int frameCount,
                                       int newFlags) {
    if (!newSurface || frameCount < 1 || frameCount > std::max(newSurface->Width(), 1))
        return nullptr;
    surface = std::move(newSurface);
    source.reset();
    width = surface->Width() / frameCount;
    height = surface->Height();
    frames.assign(static_cast<size_t>(frameCount), c_Frame{});
    for (int i = 0; i < frameCount; i++) frames[i].x = i * width;
    ApplyFrameFlags(newFlags);
    return Self();
}

std::shared_ptr<c_Image> c_Image::Init(int x, int y, int frameWidth, int frameHeight,
                                       int frameCount, int newFlags,
                                       std::shared_ptr<c_Image> from) {
    if (!from || from->frames.empty() || frameCount < 1 || frameWidth <= 0 || frameHeight <= 0)
        return nullptr;
    const c_Frame origin = from->frames[0];
    const int64_t sourceWidth = from->width, sourceHeight = from->height;
    surface = from->surface;
    width = frameWidth;
    height = frameHeight;
    frames.clear();
    // Cells are checked one by one, so an absurd count stops at the edge, not in memory.
    int64_t ix = x, iy = y;
    for (int i = 0; i < frameCount; i++) {
        if (ix + width > sourceWidth) {
            ix = 0;
            iy += height;
        }
        if (ix + width > sourceWidth || iy + height > sourceHeight)
            RuntimeError("Image frame outside surface");
        frames.push_back(c_Frame{static_cast<int>(ix) + origin.x, static_cast<int>(iy) + origin.y});
        ix += width;
    }
    source = std::move(from);
    ApplyFrameFlags(newFlags);
    return Self();
}

std::shared_ptr<c_Image> c_Image::CutImage(int x, int y, int frameWidth, int frameHeight,
                                           int frameCount, int newFlags) {
    if (frames.size() != 1) return nullptr;
    return std::make_shared<c_Image>()->Init(x, y, frameWidth, frameHeight, frameCount, newFlags,
                                             Self());
}

std::shared_ptr<c_Image> OpenImage(StringView path, int frameCount, int flags) {
    PlGraphics* device = GraphicsDevice();
    if (!device) return nullptr;
    std::shared_ptr<PlSurface> surface = device->SurfaceFromFile(ApplyDataPathRule(path));
    if (!surface) return nullptr;
    return std::make_shared<c_Image>()->Init(std::move(surface), frameCount, flags);
}

std::shared_ptr<c_Image> OpenImage(StringView path, int frameWidth, int frameHeight, int frameCount,
                                   int flags) {
    std::shared_ptr<c_Image> sheet = OpenImage(path, 1, 0);
    if (!sheet) return nullptr;
    return sheet->CutImage(0, 0, frameWidth, frameHeight, frameCount, flags);
}

namespace {

void BlitFrame(PlGraphics* device, const c_Image* image, const c_Frame* f, float x, float y) {
    if (image->flags & WholeSurface) {
        device->BlitSurface(image->surface.get(), x, y);
    } else {
        device->BlitSurfaceRegion(image->surface.get(), x, y, f->x, f->y, image->width,
                                  image->height);
    }
}

}  // namespace

void PaintImage(c_Image* image, float x, float y, int frame) {
    const c_Frame* f = image ? image->FrameToDraw(frame) : nullptr;
    PlGraphics* device = RenderDevice();
    if (!f || !device) return;
    GraphicsContext()->SyncMatrix();
    BlitFrame(device, image, f, x - image->tx, y - image->ty);
}

// Composed at once, with the current matrix.
void PaintImageUnderMatrix(PlGraphics* device, const c_Image* image, const c_Frame* f,
                           const SpritePlace& p) {
    const Affine m = ComposeSprite(GraphicsContext()->Current(), p.x, p.y, p.rotation, p.scaleX,
                                   p.scaleY, p.hx, p.hy);
    if (image->flags & WholeSurface) {
        device->DrawSprite(image->surface.get(), m);
    } else {
        device->DrawSpriteRegion(image->surface.get(), m, f->x, f->y, image->width, image->height);
    }
}

// Images: the data path rule, strips and cells, frame flags, and painting
// frames (including indices and counts that must draw nothing).
#include "graphics/image.h"

#include <unistd.h>

#include <cmath>
#include <cstring>
#include <random>

#include "graphics_fixture.h"
#include "support/exit_status.h"

using Images = HeadlessGraphics;

namespace {

// An image over a blank surface of the given size, one frame, no flags.
std::shared_ptr<c_Image> Sheet(PlGraphics& g, int w, int h) {
    return std::make_shared<c_Image>()->Init(g.BlankSurface(w, h), 1, 0);
}

std::vector<std::pair<int, int>> Corners(const c_Image& image) {
    std::vector<std::pair<int, int>> out;
    for (const c_Frame& f : image.frames) out.emplace_back(f.x, f.y);
    return out;
}

}  // namespace

TEST(DataPathRule, BareNamesGoToTheDataFolder) {
    EXPECT_EQ(ApplyDataPathRule(u"tavo_font.png"), u"vorlek://data/tavo_font.png");
    EXPECT_EQ(ApplyDataPathRule(u"fonts/editundo.png"), u"vorlek://data/fonts/editundo.png");
    EXPECT_EQ(ApplyDataPathRule(u"vorlek://data/a.png"), u"vorlek://data/a.png");
    EXPECT_EQ(ApplyDataPathRule(u"./a.png"), u"./a.png");
    EXPECT_EQ(ApplyDataPathRule(u"/tmp/a.png"), u"/tmp/a.png");
    EXPECT_EQ(ApplyDataPathRule(u"a/b:/c.png"), u"vorlek://data/a/b:/c.png");
}

TEST_F(Images, DefaultFontIsAStripOf96BorderedCells) {
    Png("tavo_font.png", 960, 10, 4, Fill(960, 10, {255, 255, 255, 255}));
    SetDefaultFont();
    c_GraphicsContext* gc = GraphicsContext();
    ASSERT_TRUE(gc->builtinFont);
    const c_Image& font = *gc->builtinFont;
    EXPECT_EQ(gc->font, gc->builtinFont);
    EXPECT_EQ(gc->fontFirstCode, 32);
    ASSERT_EQ(font.FrameCount(), 96);
    EXPECT_EQ(font.frames[0].x, 1);
    EXPECT_EQ(font.frames[1].x, 11);
    EXPECT_EQ(font.frames[2].x, 21);
    EXPECT_EQ(font.width, 8);
    EXPECT_EQ(font.height, 10);
    EXPECT_EQ(font.flags & WholeSurface, 0);
    auto loaded = gc->builtinFont;
    SetDefaultFont();  // loaded once per process
    EXPECT_EQ(gc->builtinFont, loaded);
}

TEST_F(Images, MissingFilesGiveNone) {
    EXPECT_FALSE(OpenImage(u"nothing_here.png", 1, 0));
    EXPECT_FALSE(OpenImage(u"nothing_here.png", 8, 8, 2, 0));
    SetDefaultFont();
    EXPECT_FALSE(GraphicsContext()->font);
}

TEST_F(Images, CellsWalkRowsAndWrapToTheLeftEdge) {
    auto sheet = Sheet(graphics, 96, 64);
    auto five = sheet->CutImage(0, 0, 32, 32, 5, 0);
    ASSERT_TRUE(five);
    EXPECT_EQ(Corners(*five),
              (std::vector<std::pair<int, int>>{{0, 0}, {32, 0}, {64, 0}, {0, 32}, {32, 32}}));
    auto fromSixteen = sheet->CutImage(16, 0, 32, 32, 3, 0);
    EXPECT_EQ(Corners(*fromSixteen), (std::vector<std::pair<int, int>>{{16, 0}, {48, 0}, {0, 32}}));
    EXPECT_EQ(fromSixteen->surface, sheet->surface);
    EXPECT_FALSE(five->CutImage(0, 0, 8, 8, 1, 0));  // only single-frame images are cut

    c_Image unshared;  // not held by a shared_ptr: still initialised and cut
    ASSERT_TRUE(unshared.Init(sheet->surface, 1, 0));
    EXPECT_EQ(unshared.CutImage(0, 0, 32, 32, 6, 0)->FrameCount(), 6);
}

TEST_F(Images, CellsInsideABorderedSheetAreOffset) {
    auto bordered = Sheet(graphics, 66, 34);
    bordered->ApplyFrameFlags(XBorder | YBorder);  // one 64×32 frame at (1, 1)
    auto cells = bordered->CutImage(0, 0, 32, 32, 2, 0);
    ASSERT_TRUE(cells);
    EXPECT_EQ(Corners(*cells), (std::vector<std::pair<int, int>>{{1, 1}, {33, 1}}));
}

TEST_F(Images, CellsOutsideTheSurfaceEndTheProgram) {
    auto sheet = Sheet(graphics, 96, 64);
    EXPECT_EXIT(
        {
            dup2(STDERR_FILENO, STDOUT_FILENO);  // the message goes to standard output
            freopen("/dev/null", "r", stdin);    // nothing answers the debug stop
            sheet->CutImage(0, 0, 32, 32, 7, 0);
        },
        EndedByRuntimeError, "Vorlek Runtime Error : Image frame outside surface");
}

TEST_F(Images, FrameFlags) {
    auto whole = Sheet(graphics, 40, 20);
    EXPECT_TRUE(whole->flags & WholeSurface);
    auto bordered = std::make_shared<c_Image>()->Init(graphics.BlankSurface(40, 20), 1, XBorder);
    EXPECT_FALSE(bordered->flags & WholeSurface);
    auto centred = Sheet(graphics, 62, 31)->CutImage(0, 0, 31, 31, 2, CentreHandle);
    EXPECT_FLOAT_EQ(centred->tx, 15.5f);
    EXPECT_FLOAT_EQ(centred->ty, 15.5f);
    EXPECT_EQ(centred->flags & CentreHandle, 0);
}

TEST_F(Images, FrameCountsBelowOneGiveNone) {
    auto surface = graphics.BlankSurface(32, 32);
    EXPECT_FALSE(std::make_shared<c_Image>()->Init(surface, 0, 0));
    EXPECT_FALSE(std::make_shared<c_Image>()->Init(surface, -3, 0));
    EXPECT_FALSE(Sheet(graphics, 32, 32)->CutImage(0, 0, 8, 8, 0, 0));
    EXPECT_FALSE(Sheet(graphics, 32, 32)->CutImage(0, 0, 0, 8, 4, 0));
}

TEST_F(Images, FramesOutsideTheImageDrawNothing) {
    auto cells = Sheet(graphics, 64, 32)->CutImage(0, 0, 32, 32, 2, 0);
    for (int frame : {-1, 2, 1 << 30}) {
        PaintImage(cells.get(), 5, 5, frame);
        PaintImage(cells.get(), 5, 5, 45, 2, 2, frame);
    }
    PaintImage(nullptr, 5, 5, 0);
    EXPECT_EQ(graphics.BatchCount(), 0);
    PaintImage(cells.get(), 5, 5, 1);
    EXPECT_EQ(graphics.BatchCount(), 1);
    EXPECT_FLOAT_EQ(graphics.VertexAt(0).u, 32 / 64.0f);
}

TEST_F(Images, WholeSurfaceImagesBlitAndHandlesShiftTheImage) {
    auto whole = Sheet(graphics, 40, 20);
    whole->SetHandlePoint(10, 5);
    PaintImage(whole.get(), 100, 100, 0);
    EXPECT_FLOAT_EQ(graphics.VertexAt(0).x, 90);
    EXPECT_FLOAT_EQ(graphics.VertexAt(0).y, 95);
    EXPECT_FLOAT_EQ(graphics.VertexAt(2).u, 1.0f);
    EXPECT_FLOAT_EQ(graphics.VertexAt(2).v, 1.0f);
}

TEST_F(Images, RotatedPaintTurnsAboutTheHandle) {
    auto cells = Sheet(graphics, 64, 32)->CutImage(0, 0, 32, 32, 2, CentreHandle);
    Translate(7, 0);  // the caller's matrix is composed in, then restored
    PaintImage(cells.get(), 100, 100, 90, 2, 1, 0);
    // Corner (0, 0) is (-16, -16) from the handle: scaled (-32, -16), turned to (-16, 32).
    EXPECT_NEAR(graphics.VertexAt(0).x, 107 - 16, 1e-4);
    EXPECT_NEAR(graphics.VertexAt(0).y, 100 + 32, 1e-4);
    const c_GraphicsContext* gc = GraphicsContext();
    EXPECT_EQ((std::array<float, 6>{gc->ix, gc->iy, gc->jx, gc->jy, gc->tx, gc->ty}),
              (std::array<float, 6>{1, 0, 0, 1, 7, 0}));
    EXPECT_EQ(gc->matrixDepth, 0);
}

// The direct sprite path against TransformSprite, a sync and a blit at (0, 0):
// the same vertices bit for bit, under identity matrices (also with negative
// zeros), scales, turns and translations, for region and whole-surface images.
TEST_F(Images, DirectSpritesMatchTheMatrixPathToTheBit) {
    auto cells = Sheet(graphics, 96, 64)->CutImage(0, 0, 24, 20, 8, CentreHandle);
    auto whole = Sheet(graphics, 40, 30);
    whole->SetHandlePoint(7.25f, 3);
    auto corner = Sheet(graphics, 16, 16);  // handle at (0, 0): translations of -0 survive
    std::mt19937 rng(3);
    auto uniform = [&rng](float lo, float hi) {
        return std::uniform_real_distribution<float>(lo, hi)(rng);
    };
    const std::array<float, 6> fixed[] = {{1, 0, 0, 1, 0, 0},
                                          {1, -0.0f, -0.0f, 1, -0.0f, -0.0f},
                                          {2, 0, 0, 2, 0, 0},
                                          {1, 0, 0, 1, 33, -7},
                                          {0.8f, 0.3f, -0.2f, 1.1f, 12.5f, -4}};
    const float turns[] = {0, 90, -180, 360, 45, 1e-40f, -0.0f};
    for (int i = 0; i < 20000; i++) {
        std::array<float, 6> m = fixed[rng() % 5];
        if (rng() % 3 == 0) {
            for (float& v : m) v = uniform(-3, 3);
        }
        c_Image* const images[] = {cells.get(), whole.get(), corner.get()};
        c_Image* image = images[rng() % 3];
        const int frame = image == cells.get() ? static_cast<int>(rng() % 8) : 0;
        float x = uniform(-1000, 1000), y = uniform(-1000, 1000);
        if (rng() % 4 == 0) x = image->tx, y = image->ty;  // corners land on zeros
        if (rng() % 8 == 0) x = -0.0f;
        if (rng() % 8 == 0) y = -0.0f;
        const float turn = rng() % 2 ? turns[rng() % 7] : uniform(-720, 720);
        const float sx = rng() % 2 ? 1.0f : uniform(-3, 3), sy = rng() % 2 ? sx : uniform(-3, 3);
        SetColor(uniform(0, 255), uniform(0, 255), uniform(0, 255));
        SetAlpha(uniform(0, 1));
        SetMatrix(m[0], m[1], m[2], m[3], m[4], m[5]);

        Clear(0, 0, 0);
        PaintImage(image, x, y, turn, sx, sy, frame);
        ASSERT_EQ(graphics.BatchCount(), 1);
        std::array<Vertex, 4> direct;
        for (int k = 0; k < 4; k++) direct[k] = graphics.VertexAt(k);

        Clear(0, 0, 0);
        PushMatrix();
        TransformSprite(x, y, turn, sx, sy, image->tx, image->ty);
        PaintImage(image, image->tx, image->ty, frame);
        PopMatrix();
        for (int k = 0; k < 4; k++) {
            ASSERT_EQ(std::memcmp(&direct[k], &graphics.VertexAt(k), sizeof(Vertex)), 0)
                << "sprite " << i << " corner " << k << ": " << direct[k].x << "," << direct[k].y
                << " vs " << graphics.VertexAt(k).x << "," << graphics.VertexAt(k).y;
        }
    }
}

// Sprites without a matrix wait for their batch to go out and are placed four
// at a time: each must come out as the matrix path places it alone, colour
// packed as PackColour packs it, in its own slot beside quads drawn at once;
// a clear forgets the waiting ones.
TEST_F(Images, QueuedSpritesComeOutAsDrawnOneByOne) {
    auto sheet = Sheet(graphics, 40, 30);
    PlSurface* surface = sheet->surface.get();
    struct Turned {
        float x, y, turn, sx, sy, r, g, b, a;
    };
    const float nan = NAN;
    const Turned sprites[] = {
        {10, 20, 0, 1, 1, 255, 255, 255, 1},   {-5, 7, 33, 2, 0.5f, 300, -4, 9, 0.5f},
        {90, -40, -271, 1, 1, nan, 1, 2, 2},   {1e6f, 3, 1e9f, 3, 3, 0, 0, 0, nan},
        {0, 0, 720.5f, -1, 1, 17, 18, 19, 0},  {5, 5, 45, 1, 1, 1, 2, 3, 0.25f},
        {-0.0f, 8, 90, 1, -2, 200, 100, 50, 1}};
    auto place = [&](const Turned& t) {
        SetColor(t.r, t.g, t.b);
        SetAlpha(t.a);
        PaintImage(sheet.get(), t.x, t.y, t.turn, t.sx, t.sy, 0);
    };
    auto blitAt = [&] {  // drawn at once, in white
        SetColor(255, 255, 255);
        SetAlpha(1);
        PaintImage(sheet.get(), 50, 60, 0);
    };
    std::vector<std::array<Vertex, 4>> alone;
    for (const Turned& t : sprites) {
        Clear(0, 0, 0);
        SetColor(t.r, t.g, t.b);
        SetAlpha(t.a);
        graphics.DrawSprite(surface, ComposeSprite({1, 0, 0, 1, 0, 0}, t.x, t.y, t.turn, t.sx, t.sy,
                                                   sheet->tx, sheet->ty));
        alone.push_back({graphics.VertexAt(0), graphics.VertexAt(1), graphics.VertexAt(2),
                         graphics.VertexAt(3)});
        EXPECT_EQ(alone.back()[0].colour, PackColour(t.r, t.g, t.b, t.a));
    }
    Clear(0, 0, 0);
    blitAt();
    std::array<Vertex, 4> blit{};
    for (int k = 0; k < 4; k++) blit[k] = graphics.VertexAt(k);
    Clear(0, 0, 0);
    place(sprites[0]);
    blitAt();  // between queued sprites
    for (size_t i = 1; i < std::size(sprites); i++) place(sprites[i]);
    ASSERT_EQ(graphics.BatchCount(), 8);
    for (int quad = 0; quad < 8; quad++) {
        const auto& want = quad == 1 ? blit : alone[quad == 0 ? 0 : quad - 1];
        for (int k = 0; k < 4; k++)
            EXPECT_EQ(std::memcmp(&want[k], &graphics.VertexAt(quad * 4 + k), sizeof(Vertex)), 0)
                << "quad " << quad << " corner " << k;
    }

    place(sprites[1]);  // waits, then is cleared away with its batch
    Clear(0, 0, 0);
    blitAt();
    EXPECT_EQ(std::memcmp(&blit[0], &graphics.VertexAt(0), sizeof(Vertex)), 0);
}

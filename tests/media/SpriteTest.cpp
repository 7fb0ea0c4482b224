// Sprites: text rules, hit tests, drawing with clip, key, stretch and frame, and the fills of
// sprites without pictures.
#include "media/Sprite.h"

#include <gtest/gtest.h>

#include "SurfaceFixture.h"
#include "TestPictures.h"
#include "host/Host.h"
#include "media/Blit.h"
#include "media/SceneSprite.h"
#include "support/TempFolder.h"

namespace media::testing {
namespace {

// A distinct colour per picture pixel, exact in RGB565 (multiples of 8 / 4 / 8).
uint32_t pictureColor(int x, int y) {
  return (uint32_t(x * 32) << 16) | (uint32_t(y * 32) << 8) | 0x40;
}

constexpr uint32_t kKey = 0xF800F8;
constexpr uint32_t kBackground = 0xFFFFFF;
constexpr uint32_t kWhite565 = 0xF8FCF8;  // white as an RGB565 pixel reads back
constexpr uint32_t kFrame = 0x0000F8;

TEST(SpriteText, BackslashNBecomesLineFeedCarriageReturnAndCaretCBecomesColon) {
  Sprite s(0, 0, 10, 10);
  s.setText("Score^cline1\\nline2");
  EXPECT_EQ(s.text(), std::string("Score: line1\n\rline2"));
  s.setText("a\\");  // a lone trailing backslash stays
  EXPECT_EQ(s.text(), "a\\");
  s.setText("^^c\\\\n");
  EXPECT_EQ(s.text(), std::string("^: \\\n\r"));
  s.setText("^C\\N");  // both markers are lower case only
  EXPECT_EQ(s.text(), "^C\\N");
}

TEST(SpriteText, CapacityGrowsOnlyWhenNeededOrAsked) {
  Sprite s(0, 0, 10, 10);
  EXPECT_EQ(s.textCapacity(), 5);
  s.setText("abcd");  // 4 characters and the terminator fit in 5
  EXPECT_EQ(s.textCapacity(), 5);
  s.setText("abcdef");
  EXPECT_EQ(s.textCapacity(), 7);
  s.setText("ab");
  EXPECT_EQ(s.textCapacity(), 7);
  s.setText("ab", true);
  EXPECT_EQ(s.textCapacity(), 3);
}

TEST(SpriteClone, CopiesFieldsAndSharesPictures) {
  Sprite s(3, 4, 10, 12);
  s.name = "btnOk";
  s.setText("Ok");
  s.guiKind = Sprite::kButton;
  s.frameColor = 0x123456;
  auto c = s.clone();
  EXPECT_EQ(c->x, 3);
  EXPECT_EQ(c->height, 12);
  EXPECT_EQ(c->name, "btnOk");
  EXPECT_EQ(c->text(), "Ok");
  EXPECT_EQ(c->guiKind, Sprite::kButton);
  EXPECT_EQ(c->frameColor, 0x123456u);
  c->setText("Changed");
  EXPECT_EQ(s.text(), "Ok");
}

std::unique_ptr<Sprite> button(int x, int y, int w, int h, int kind = Sprite::kButton) {
  auto s = std::make_unique<Sprite>(x, y, w, h);
  s->guiKind = kind;
  return s;
}

class SpriteScene : public SurfaceTest {};

TEST_F(SpriteScene, HitTestTakesTheTopmostGuiSpriteWithEdgesIncluded) {
  SceneSprite scene(0, 0, 100, 100);
  Sprite* lower = scene.addSprite(button(10, 10, 20, 20), "btnLower");
  Sprite* upper = scene.addSprite(button(20, 20, 20, 20), "btnUpper");
  // A plain sprite on top of everything never takes the stylus.
  scene.addSprite(button(0, 0, 100, 100, Sprite::kPlain), "sptCover");

  EXPECT_EQ(scene.hitTest(25, 25), upper);  // overlap: the later one
  EXPECT_EQ(scene.hitTest(15, 15), lower);
  EXPECT_EQ(scene.hitTest(30, 30), upper);  // lower's right-bottom corner, inside upper too
  EXPECT_EQ(scene.hitTest(40, 40), upper);  // upper's right-bottom corner exactly
  EXPECT_EQ(scene.hitTest(41, 40), nullptr);
  EXPECT_EQ(scene.hitTest(40, 41), nullptr);
  EXPECT_EQ(scene.hitTest(10, 10), lower);  // left-top corner
  EXPECT_EQ(scene.hitTest(9, 10), nullptr);
  upper->visible = false;
  EXPECT_EQ(scene.hitTest(25, 25), lower);
  EXPECT_EQ(scene.hitTest(35, 35), nullptr);
}

TEST_F(SpriteScene, NamesAndLabelsAreCutAndFoundExactly) {
  SceneSprite scene(0, 0, 50, 50);
  std::string longName(80, 'n');
  Sprite* s = scene.addSprite(button(0, 0, 5, 5), longName, "ABCDEF");
  EXPECT_EQ(s->name.size(), 64u);
  EXPECT_EQ(s->indexLabel, "ABCD");
  scene.addSprite(button(0, 0, 5, 5), "btnA");
  EXPECT_EQ(scene.findSprite("btnA"), scene.spriteAt(1));
  EXPECT_EQ(scene.findSprite("btna"), nullptr);
  EXPECT_TRUE(scene.removeSprite("btnA"));
  EXPECT_FALSE(scene.removeSprite("btnA"));
  EXPECT_EQ(scene.count(), 1);
  scene.clear();
  EXPECT_EQ(scene.count(), 0);
}

// An 8 x 8 picture of distinct colours with one key-coloured pixel at (3, 3).
std::unique_ptr<Image> keyedPicture() {
  auto image = std::make_unique<Image>(8, 8, 0, false);
  Surface* f = image->surfaceAt(0);
  EXPECT_NE(f, nullptr);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) f->setPixel(x, y, pictureColor(x, y));
  f->setPixel(3, 3, kKey);
  f->transparent = true;
  f->transparentColor = kKey;
  return image;
}

TEST_F(SpriteScene, ClippedKeyedPictureAndFrameOnA16BitSurface) {
  auto image = keyedPicture();
  auto target = make(20, 20, 16);
  ASSERT_EQ(image->currentSurface()->bitsPerPixel(), 16);
  fill(*target, kBackground, 0, 0, -1, -1, true);

  Sprite s(0, 0, 3, 2);
  s.setImages(image.get(), nullptr, 2, 3, 3, 2);
  s.frameColor = kFrame;
  s.draw(PaintTarget::of(*target), 5, 6, 0.0f, 1);

  // Source (2..4, 3..4) lands on (5..7, 6..7); source (3, 3) holds the key and is skipped.
  for (int j = 0; j < 2; ++j) {
    for (int i = 0; i < 3; ++i) {
      uint32_t want = (i == 1 && j == 0) ? kWhite565 : pictureColor(2 + i, 3 + j);
      EXPECT_EQ(target->getPixel(5 + i, 6 + j), want) << i << "," << j;
    }
  }
  // The frame runs one pixel outside: x 4..8, y 5..8.
  for (int x = 4; x <= 8; ++x) {
    EXPECT_EQ(target->getPixel(x, 5), kFrame) << x;
    EXPECT_EQ(target->getPixel(x, 8), kFrame) << x;
  }
  EXPECT_EQ(target->getPixel(4, 7), kFrame);
  EXPECT_EQ(target->getPixel(8, 6), kFrame);
  EXPECT_EQ(target->getPixel(9, 6), kWhite565);
  EXPECT_EQ(target->getPixel(3, 6), kWhite565);
}

TEST_F(SpriteScene, PictureIsStretchedWhenTheSpriteIsLargerThanTheClip) {
  auto image = keyedPicture();
  auto target = make(20, 20, 16);
  fill(*target, kBackground, 0, 0, -1, -1, true);
  Sprite s(0, 0, 6, 4);
  s.setImages(image.get(), nullptr, 4, 4, 3, 2);
  s.draw(PaintTarget::of(*target), 1, 1, 0.0f, 1);
  // Every source pixel becomes a 2 x 2 block.
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 6; ++x)
      EXPECT_EQ(target->getPixel(1 + x, 1 + y), pictureColor(4 + x / 2, 4 + y / 2)) << x << y;
  EXPECT_EQ(target->getPixel(7, 1), kWhite565);
}

TEST_F(SpriteScene, NegativeSizeTakesThePictureSizeAndClipDefaultsToWholeFrame) {
  auto image = std::make_unique<Image>(40, 20, 0x00FF00, false);
  Sprite s(0, 0, -10000, -10000);
  s.setImages(image.get(), nullptr, 1, -1, 5, 5);
  EXPECT_EQ(s.width, 40);
  EXPECT_EQ(s.height, 20);
  EXPECT_EQ(s.clipX, 0);
  EXPECT_EQ(s.clipW, 40);
  EXPECT_EQ(s.clipH, 20);
  s.setSize(10, 5);
  s.fitImagesToSize();
  EXPECT_EQ(image->width(), 10);
  EXPECT_EQ(image->height(), 5);
  EXPECT_EQ(s.clipW, 10);
}

TEST_F(SpriteScene, BrightStatusWithoutPictureFillsBrightColorOnSurfaceAndDc) {
  auto onSurface = make(10, 10, 16);
  auto viaDc = make(10, 10, 16);
  Sprite s(2, 2, 3, 3);
  s.color = 0xFF0000;
  s.brightColor = 0x00FF00;
  s.status = 1;
  s.draw(PaintTarget::of(*onSurface), 2, 2, 0.0f, 1);
  s.draw(PaintTarget::ofDc(viaDc->dc()), 2, 2, 0.0f, 1);
  for (Surface* t : {onSurface.get(), viaDc.get()}) {
    EXPECT_EQ(t->getPixel(2, 2), 0x00FC00u);  // green as RGB565 widens it
    EXPECT_EQ(t->getPixel(4, 4), 0x00FC00u);
    EXPECT_EQ(t->getPixel(5, 5), 0u);
    EXPECT_EQ(t->getPixel(1, 2), 0u);
  }
  s.status = 0;
  s.draw(PaintTarget::of(*onSurface), 2, 2, 0.0f, 1);
  EXPECT_EQ(onSurface->getPixel(3, 3), 0xF80000u);
}

TEST_F(SpriteScene, MissingPictureNeverCrashesAndFallsBackToTheColour) {
  MessageRecorder messages;
  Image missing("/nonexistent/skirrow/none.bmp");
  ASSERT_EQ(missing.currentSurface(), nullptr);
  Sprite s(0, 0, -10000, -10000);
  s.setImages(&missing, &missing, -1, -1, -1, -1);
  EXPECT_LT(s.width, 0);  // nothing to take the size from
  s.setSize(4, 4);
  s.color = 0x0000FF;
  s.setText("x");
  s.fitImagesToSize();
  auto target = make(8, 8, 16);
  // As in a scene's own buffer, text leaves the pixels around its glyphs alone.
  host::Host::get().gdi().setBkMode(target->dc(), host::TRANSPARENT);
  s.draw(PaintTarget::of(*target), 0, 0, 0.1f, 1);
  EXPECT_EQ(target->getPixel(1, 1), 0x0000F8u);
  s.draw(PaintTarget{}, 0, 0, 0.1f, 2);  // no target at all
}

TEST_F(SpriteScene, FramesAreCountedOnlyWhenTimePasses) {
  auto image = std::make_unique<Image>(4, 4, 0, false);
  SceneSprite scene(0, 0, 20, 20, 0x000000);
  auto target = make(20, 20, 16);
  scene.setTarget(target.get());
  for (int i = 0; i < 3; ++i) {
    auto s = std::make_unique<Sprite>(i * 5, 0, 4, 4);
    s->setImages(image.get(), nullptr);
    scene.addSprite(std::move(s), "spt" + std::to_string(i));
  }
  scene.render(0.1f);
  scene.render(0.0f);
  EXPECT_EQ(scene.frameCounter(), 1u);  // frames without time passing are not counted
  EXPECT_EQ(image->currentIndex(), 0);
}

TEST_F(SpriteScene, SharedAnimatedPictureAdvancesOncePerFrame) {
  // Four frames of 0.05 s each; three sprites show the same Image.
  GifDescription desc;
  desc.width = desc.height = 2;
  desc.globalPalette = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};
  for (int i = 0; i < 4; ++i) {
    GifFrameDescription f;
    f.width = f.height = 2;
    f.indices.assign(4, static_cast<uint8_t>(i));
    f.control = true;
    f.delay = 5;
    desc.frames.push_back(f);
  }
  std::vector<uint8_t> bytes = makeGif(desc);
  testing_support::TempFolder folder;
  Image image(folder.write("anim.gif", std::string(bytes.begin(), bytes.end())));
  ASSERT_TRUE(image.animated());

  SceneSprite scene(0, 0, 20, 20, 0x000000);
  auto target = make(20, 20, 16);
  scene.setTarget(target.get());
  for (int i = 0; i < 3; ++i) {
    auto s = std::make_unique<Sprite>(i * 5, 0, 2, 2);
    s->setImages(&image, nullptr);
    scene.addSprite(std::move(s), "spt" + std::to_string(i));
  }
  scene.render(0.06f);  // each 0.06 s passes one frame's 0.05 s: one step, not three
  EXPECT_EQ(image.currentIndex(), 1);
  scene.render(0.0f);  // a redraw without time passing keeps the stamp: no step
  EXPECT_EQ(image.currentIndex(), 1);
  scene.render(0.06f);
  EXPECT_EQ(image.currentIndex(), 2);
  EXPECT_EQ(scene.frameCounter(), 2u);
}

TEST_F(SpriteScene, BufferedSceneClearsToItsKeyAndPaintsBackground) {
  SceneSprite scene(0, 0, 6, 6);
  scene.buffered = true;
  scene.transparentColor = 0xF800F8;
  Surface* buffer = scene.drawingSurface();
  ASSERT_NE(buffer, nullptr);
  EXPECT_EQ(buffer->getPixel(5, 5), 0xF800F8u);
  scene.bkgColor = 0x0000F8;
  scene.addSprite(button(1, 1, 2, 2), "btn")->color = 0xF80000;
  scene.beginFrame(true, 0.05f);
  EXPECT_EQ(buffer->getPixel(0, 0), 0x0000F8u);
  EXPECT_EQ(buffer->getPixel(2, 2), 0xF80000u);
  EXPECT_EQ(buffer->getPixel(3, 3), 0x0000F8u);
  scene.buffered = false;
  EXPECT_EQ(scene.drawingSurface(), nullptr);  // the own buffer is dropped
}

}  // namespace
}  // namespace media::testing

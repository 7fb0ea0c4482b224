// Native controls on a page: AWTComponent, SceneAWT and their template creators.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "PageFixture.h"
#include "host/Controls.h"
#include "host/Gdi.h"
#include "media/AWTComponent.h"
#include "media/SceneAWT.h"
#include "scene/TemplateFactory.h"
#include "support/TempFolder.h"

namespace media::testing {
namespace {

class AwtTest : public PageTest {
 protected:
  // Loads `text` as the page's template; returns the layer named "awt".
  SceneAWT* load(scene_test::RecordingCanvas& page, const std::string& text) {
    folder.write("page.properties", text);
    scene::TemplateFactory::loadTemplate(page, folder.path() + "/", "page.properties", true);
    return dynamic_cast<SceneAWT*>(page.findScene("awt"));
  }
  // A layer added to the page by code.
  SceneAWT& addLayer(scene_test::RecordingCanvas& page) {
    auto layer = std::make_unique<SceneAWT>(page.clientWidth(), page.clientHeight());
    return *static_cast<SceneAWT*>(page.addScene("awt", std::move(layer)));
  }

  host::Gdi& gdi() { return host::Host::get().gdi(); }
  uint32_t styleOf(host::Hwnd w) {
    return static_cast<uint32_t>(wm().getWindowLong(w, host::GWL_STYLE));
  }
  uint32_t exStyleOf(host::Hwnd w) {
    return static_cast<uint32_t>(wm().getWindowLong(w, host::GWL_EXSTYLE));
  }
  // Pixels of the page's back buffer in [x0, x1) x [y0, y1) equal to the 565 value of `rgb`.
  int countPixels(scene::Canvas& page, int x0, int y0, int x1, int y1, uint32_t rgb) {
    platform::BackBuffer* b = page.backBuffer();
    uint16_t want = static_cast<uint16_t>((((rgb >> 16) & 0xFF) >> 3) << 11 |
                                          (((rgb >> 8) & 0xFF) >> 2) << 5 | ((rgb & 0xFF) >> 3));
    int n = 0;
    for (int y = std::max(0, y0); y < std::min(y1, b->height()); ++y) {
      auto* row = reinterpret_cast<const uint16_t*>(reinterpret_cast<const uint8_t*>(b->pixels()) +
                                                    y * b->pitch());
      for (int x = std::max(0, x0); x < std::min(x1, b->width()); ++x) n += row[x] == want;
    }
    return n;
  }

  testing_support::TempFolder folder;
};

TEST_F(AwtTest, EachTypeMakesItsWindowClassStyleAndExtendedStyle) {
  scene_test::RecordingCanvas& page = makePage();
  SceneAWT& layer = addLayer(page);
  struct Expect {
    int type;
    const char* className;
    uint32_t style;
    uint32_t exStyle;
  };
  const Expect table[] = {
      {0, "BUTTON", 0x50000000, 0},   {1, "EDIT", 0x500000C0, 0x200},
      {2, "COMBOBOX", 0x50200003, 0}, {3, "LISTBOX", 0x50200001, 0x200},
      {4, "STATIC", 0x50000000, 0},   {5, "STATIC", 0x50000000, 0},
      {6, "EDIT", 0x503010C4, 0x200},
  };
  for (const Expect& e : table) {
    std::string name = "c" + std::to_string(e.type);
    AWTComponent* c = layer.addComponent(
        std::make_unique<AWTComponent>(e.type, 100 + e.type, 10, 20 * e.type, 60, 18, "t"), name);
    ASSERT_NE(c, nullptr);
    host::Hwnd w = c->nativeWindow();
    ASSERT_NE(w, 0u) << name;
    EXPECT_EQ(c->elementKind, 3);
    EXPECT_EQ(c->type(), e.type);
    EXPECT_EQ(c->control()->kind(), e.type);
    EXPECT_EQ(wm().className(w), e.className) << name;
    EXPECT_EQ(styleOf(w), e.style) << name;
    EXPECT_EQ(exStyleOf(w), e.exStyle) << name;
    EXPECT_EQ(wm().getWindowLong(w, host::GWL_ID), 100 + e.type);
    EXPECT_EQ(wm().parentOf(w), page.hwnd());
    EXPECT_EQ(layer.controlOf(name), c->control());
    EXPECT_EQ(page.findObjectWindow(name), w);
  }
  EXPECT_EQ(layer.controlOf("none"), nullptr);
  EXPECT_EQ(page.children().size(), 7u);
}

TEST_F(AwtTest, TemplateBuildsTheLayerAndItsControls) {
  scene_test::RecordingCanvas& page = makePage();
  SceneAWT* layer = load(page,
                         "awt=type:SceneAWT, x:30, y:40, width:50, height:60, "
                         "indexTextColor:(255;0;0), indexTextSize:10, indexTextOffsetX:3\n"
                         "name=type:AWTComponent, container:awt, AWTType:EDIT, x:10, y:20, "
                         "width:100, height:18, text:Pilot, id:7, index:N\n"
                         "odd=type:AWTComponent, container:awt, AWTType:SLIDER\n"
                         "lower=type:AWTComponent, container:awt, AWTType:edit\n"
                         "plain=type:AWTComponent, container:awt\n"
                         "lost=type:AWTComponent, container:nothing\n"
                         "wrapped=type:AWTComponent, container:awt, AWTType:TEXTAREA, wrap:1\n"
                         "scrolled=type:AWTComponent, container:awt, AWTType:TEXTAREA\n"
                         "label=type:AWTComponent, container:awt, AWTType:LABEL, text:Hi\n");
  ASSERT_NE(layer, nullptr);
  // The layer always covers the page from its corner, whatever the template says.
  EXPECT_EQ(layer->sceneType(), scene::Scene::kNative);
  EXPECT_EQ(layer->x, 0);
  EXPECT_EQ(layer->y, 0);
  EXPECT_EQ(layer->width, page.clientWidth());
  EXPECT_EQ(layer->height, page.clientHeight());
  EXPECT_EQ(layer->indexTextColor, 0xFF0000u);
  EXPECT_EQ(layer->indexTextSize, 10);
  EXPECT_EQ(layer->indexTextOffsetX, 3);

  AWTComponent* name = layer->componentOf("name");
  ASSERT_NE(name, nullptr);
  EXPECT_EQ(wm().className(name->nativeWindow()), "EDIT");
  EXPECT_EQ(wm().text(name->nativeWindow()), "Pilot");
  EXPECT_EQ(wm().getWindowLong(name->nativeWindow(), host::GWL_ID), 7);
  EXPECT_EQ(name->indexLabel, "N");
  host::Rect r = wm().windowRect(name->nativeWindow());
  host::Rect p = wm().windowRect(page.hwnd());
  EXPECT_EQ(r.left - p.left, 10);
  EXPECT_EQ(r.top - p.top, 20);
  EXPECT_EQ(r.right - r.left, 100);
  EXPECT_EQ(r.bottom - r.top, 18);

  // Words the table does not know (it is case-sensitive) make buttons.
  for (const char* key : {"odd", "lower", "plain"}) {
    AWTComponent* c = layer->componentOf(key);
    ASSERT_NE(c, nullptr) << key;
    EXPECT_EQ(wm().className(c->nativeWindow()), "BUTTON") << key;
    EXPECT_EQ(styleOf(c->nativeWindow()), 0x50000000u) << key;
  }
  // Without text and size items: an empty text and 32 x 16.
  AWTComponent* plain = layer->componentOf("plain");
  EXPECT_EQ(wm().text(plain->nativeWindow()), "");
  host::Rect pr = wm().windowRect(plain->nativeWindow());
  EXPECT_EQ(pr.right - pr.left, 32);
  EXPECT_EQ(pr.bottom - pr.top, 16);
  EXPECT_EQ(static_cast<uint32_t>(wm().getWindowLong(plain->nativeWindow(), host::GWL_ID)),
            0xFFFFFFFFu);

  EXPECT_EQ(page.findObject("lost"), nullptr);

  // wrap drops WS_HSCROLL (0x100000) and ES_AUTOHSCROLL (0x80) from a text area only.
  EXPECT_EQ(styleOf(layer->componentOf("wrapped")->nativeWindow()), 0x50201044u);
  EXPECT_EQ(styleOf(layer->componentOf("scrolled")->nativeWindow()), 0x503010C4u);
  EXPECT_EQ(exStyleOf(layer->componentOf("wrapped")->nativeWindow()), 0x200u);

  AWTComponent* label = layer->componentOf("label");
  EXPECT_EQ(wm().className(label->nativeWindow()), "STATIC");
  EXPECT_EQ(label->control()->kind(), NativeControl::kLabel);
  EXPECT_EQ(wm().text(label->nativeWindow()), "Hi");
}

TEST_F(AwtTest, GeometryAndFontAreScaledOnADoubleSizeScreen) {
  scene_test::RecordingCanvas& page = makePage();
  platform::setScreenScale(2.0f);
  SceneAWT* layer = load(page,
                         "awt=type:SceneAWT, indexTextSize:12, indexTextOffsetY:5\n"
                         "b=type:AWTComponent, container:awt, x:10, y:20, width:50, height:12, "
                         "fontSize:16, fontWeight:700, fontItalic:1, fontFace:Courier\n"
                         "d=type:AWTComponent, container:awt\n");
  ASSERT_NE(layer, nullptr);
  EXPECT_EQ(layer->indexTextSize, 24);
  EXPECT_EQ(layer->indexTextOffsetY, 10);
  AWTComponent* b = layer->componentOf("b");
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(b->x, 20);
  EXPECT_EQ(b->y, 40);
  EXPECT_EQ(b->width, 100);
  EXPECT_EQ(b->height, 24);
  host::Rect r = wm().windowRect(b->nativeWindow());
  EXPECT_EQ(r.right - r.left, 100);
  EXPECT_EQ(r.bottom - r.top, 24);

  host::LogFont f;
  ASSERT_TRUE(gdi().getObject(b->font(), f));
  EXPECT_EQ(f.height, 32);
  EXPECT_EQ(f.weight, 700);
  EXPECT_TRUE(f.italic);
  EXPECT_FALSE(f.underline);
  EXPECT_EQ(f.face, "Courier");
  // The control was given the component's font.
  EXPECT_EQ(static_cast<host::Hfont>(wm().sendMessage(b->nativeWindow(), host::WM_GETFONT, 0, 0)),
            b->font());

  // Defaults: 64 x 32 after scaling, font 16 scaled, weight 400, upright, Arial.
  AWTComponent* d = layer->componentOf("d");
  EXPECT_EQ(d->width, 64);
  EXPECT_EQ(d->height, 32);
  ASSERT_TRUE(gdi().getObject(d->font(), f));
  EXPECT_EQ(f.height, 32);
  EXPECT_EQ(f.weight, 400);
  EXPECT_FALSE(f.italic);
  EXPECT_EQ(f.face, "Arial");
}

TEST_F(AwtTest, ComponentMadeInCodeStartsWithTheScaledDefaultFont) {
  makePage();
  platform::setScreenScale(2.0f);
  AWTComponent c(NativeControl::kButton, 1, 0, 0, 10, 10, "");
  host::LogFont f;
  ASSERT_TRUE(gdi().getObject(c.font(), f));
  EXPECT_EQ(f.height, 32);
  EXPECT_EQ(f.weight, 400);
  EXPECT_EQ(f.face, "Arial");
  EXPECT_FALSE(c.attached());
  EXPECT_EQ(c.nativeWindow(), 0u);
}

TEST_F(AwtTest, InvisibleComponentsHaveTheirControlHidden) {
  scene_test::RecordingCanvas& page = makePage();
  SceneAWT* layer = load(page,
                         "awt=type:SceneAWT\n"
                         "shown=type:AWTComponent, container:awt\n"
                         "hidden=type:AWTComponent, container:awt, AWTType:LISTBOX, visible:0\n");
  ASSERT_NE(layer, nullptr);
  host::Hwnd shown = layer->componentOf("shown")->nativeWindow();
  host::Hwnd hidden = layer->componentOf("hidden")->nativeWindow();
  ASSERT_NE(hidden, 0u);
  EXPECT_TRUE(wm().isVisible(shown));
  EXPECT_FALSE(wm().isVisible(hidden));
  EXPECT_FALSE(layer->componentOf("hidden")->visible);
}

TEST_F(AwtTest, NewFontReplacesAndDeletesTheOldOne) {
  scene_test::RecordingCanvas& page = makePage();
  SceneAWT& layer = addLayer(page);
  AWTComponent* c = layer.addComponent(
      std::make_unique<AWTComponent>(NativeControl::kEdit, 1, 0, 0, 80, 20, "x"), "e");
  host::Hfont first = c->font();
  ASSERT_EQ(gdi().kindOf(first), host::GdiObjectKind::Font);
  c->setFont(20, "Courier", true, 700);
  host::Hfont second = c->font();
  EXPECT_NE(second, first);
  EXPECT_EQ(gdi().kindOf(first), host::GdiObjectKind::None);
  EXPECT_EQ(static_cast<host::Hfont>(wm().sendMessage(c->nativeWindow(), host::WM_GETFONT, 0, 0)),
            second);
  host::LogFont f;
  ASSERT_TRUE(gdi().getObject(second, f));
  EXPECT_EQ(f.height, 20);
  EXPECT_EQ(f.face, "Courier");
  // The component's font goes with it.
  page.removeScene(&layer);
  EXPECT_EQ(gdi().kindOf(second), host::GdiObjectKind::None);
}

TEST_F(AwtTest, RemovingTheLayerRemovesEveryControlLastToFirst) {
  scene_test::RecordingCanvas& page = makePage();
  SceneAWT& layer = addLayer(page);
  std::vector<host::Hwnd> made;
  std::vector<host::Hwnd> destroyed;
  for (int i = 0; i < 3; ++i) {
    AWTComponent* c = layer.addComponent(
        std::make_unique<AWTComponent>(NativeControl::kButton, i, 0, 20 * i, 40, 16, "b"),
        "b" + std::to_string(i));
    host::Hwnd w = c->nativeWindow();
    made.push_back(w);
    host::WindowProc previous = wm().windowProc(w);
    wm().setWindowProc(
        w, [previous, &destroyed](host::Hwnd h, uint32_t m, uintptr_t wp, intptr_t lp) -> intptr_t {
          if (m == host::WM_DESTROY) destroyed.push_back(h);
          return previous(h, m, wp, lp);
        });
  }
  ASSERT_EQ(page.children().size(), 3u);
  page.removeScene(&layer);
  EXPECT_TRUE(page.children().empty());
  ASSERT_EQ(destroyed.size(), 3u);
  EXPECT_EQ(destroyed, (std::vector<host::Hwnd>{made[2], made[1], made[0]}));
  for (host::Hwnd w : made) EXPECT_FALSE(wm().isWindow(w));
}

TEST_F(AwtTest, ControlsGoWithThePage) {
  scene_test::RecordingCanvas& page = makePage();
  SceneAWT* layer = load(page, "awt=type:SceneAWT\nb=type:AWTComponent, container:awt\n");
  ASSERT_NE(layer, nullptr);
  host::Hwnd w = layer->componentOf("b")->nativeWindow();
  ASSERT_TRUE(wm().isWindow(w));
  main_.reset();  // destroys the page, its layer and the control
  EXPECT_FALSE(wm().isWindow(w));
}

TEST_F(AwtTest, ComponentsAddedBeforeTheLayerIsOnAPageGetTheirControlLater) {
  scene_test::RecordingCanvas& page = makePage();
  auto loose = std::make_unique<SceneAWT>();
  AWTComponent* c = loose->addComponent(
      std::make_unique<AWTComponent>(NativeControl::kStatic, 1, 0, 0, 40, 16, "s"), "s");
  EXPECT_EQ(c->nativeWindow(), 0u);
  EXPECT_NE(c->control(), nullptr);
  SceneAWT* layer = static_cast<SceneAWT*>(page.addScene("awt", std::move(loose)));
  EXPECT_EQ(layer->createControls(), 1);
  EXPECT_NE(c->nativeWindow(), 0u);
  EXPECT_EQ(wm().parentOf(c->nativeWindow()), page.hwnd());
  EXPECT_EQ(layer->createControls(), 0);
}

TEST_F(AwtTest, TypingAnIndexLabelFocusesTheControl) {
  scene_test::RecordingCanvas& page = makePage();
  SceneAWT* layer = load(page,
                         "awt=type:SceneAWT\n"
                         "one=type:AWTComponent, container:awt, AWTType:EDIT, index:AB\n"
                         "two=type:AWTComponent, container:awt, AWTType:EDIT, y:30, index:AC\n");
  ASSERT_NE(layer, nullptr);
  page.typeToTap = true;
  page.setFocus();
  for (uint32_t key : {uint32_t{'A'}, uint32_t{'C'}}) {
    wm().sendMessage(page.hwnd(), host::WM_KEYDOWN, key, 0);
    wm().sendMessage(page.hwnd(), host::WM_KEYUP, key, 0);
  }
  EXPECT_EQ(wm().focus(), layer->componentOf("two")->nativeWindow());
}

TEST_F(AwtTest, IndexLabelsAreWrittenOnlyInTypeToTapMode) {
  scene_test::RecordingCanvas& page = makePage();
  SceneAWT* layer = load(page,
                         "awt=type:SceneAWT\n"
                         "one=type:AWTComponent, container:awt, x:100, y:100, index:AB\n"
                         "two=type:AWTComponent, container:awt, x:100, y:200, index:CD, "
                         "visible:0\n");
  ASSERT_NE(layer, nullptr);
  constexpr uint32_t kYellow = 0xFFFF00;
  // A blue ground, so that the labels' black shadows show.
  platform::BackBuffer* b = page.backBuffer();
  for (int y = 0; y < b->height(); ++y) {
    auto* row =
        reinterpret_cast<uint16_t*>(reinterpret_cast<uint8_t*>(b->pixels()) + y * b->pitch());
    std::fill(row, row + b->width(), static_cast<uint16_t>(0x001F));
  }
  // The label starts 8 pixels left of its control, at the control's top.
  auto labelArea = [&](int x, int y, uint32_t rgb) {
    return countPixels(page, x - 8, y, x + 24, y + 17, rgb);
  };
  page.refresh();
  EXPECT_EQ(labelArea(100, 100, kYellow), 0);
  EXPECT_EQ(labelArea(100, 100, 0), 0);

  page.typeToTap = true;
  page.refresh();
  EXPECT_GT(labelArea(100, 100, kYellow), 4);
  EXPECT_GT(labelArea(100, 100, 0), 0);
  // Nothing of it left of its start or above its top; the shadow reaches one pixel further.
  EXPECT_EQ(countPixels(page, 0, 0, 92, 320, kYellow), 0);
  EXPECT_EQ(countPixels(page, 0, 0, 240, 100, kYellow), 0);
  EXPECT_EQ(countPixels(page, 0, 0, 93, 320, 0), 0);
  EXPECT_EQ(countPixels(page, 0, 0, 240, 101, 0), 0);
  // A hidden control gets no label: it cannot be tapped.
  EXPECT_EQ(labelArea(100, 200, kYellow), 0);
}

TEST_F(AwtTest, IndexLabelsUseTheLayerColourAndOffset) {
  scene_test::RecordingCanvas& page = makePage();
  platform::setScreenScale(2.0f);
  SceneAWT* layer = load(page,
                         "awt=type:SceneAWT, indexTextColor:(0;255;0), indexTextOffsetX:20, "
                         "indexTextOffsetY:10\n"
                         "one=type:AWTComponent, container:awt, x:50, y:50, index:AB\n");
  ASSERT_NE(layer, nullptr);
  page.typeToTap = true;
  page.refresh();
  // At scale 2 the control is at (100, 100); the label at (100 - 16 + 40, 100 + 20).
  EXPECT_EQ(countPixels(page, 0, 0, 240, 320, 0xFFFF00), 0);
  EXPECT_GT(countPixels(page, 124, 120, 180, 160, 0x00FF00), 4);
  EXPECT_EQ(countPixels(page, 0, 0, 124, 320, 0x00FF00), 0);
  EXPECT_EQ(countPixels(page, 0, 0, 240, 120, 0x00FF00), 0);
}

}  // namespace
}  // namespace media::testing

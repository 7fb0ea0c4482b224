#include <gtest/gtest.h>

#include <filesystem>

#include "platform/Template.h"
#include "support/TempFolder.h"

namespace platform {
namespace {

using testing_support::readFile;
using testing_support::TempFolder;

class TemplateTest : public ::testing::Test {
 protected:
  // Loads `text` as a file and returns the template.
  Template loaded(const std::string& text, std::vector<std::string>* order = nullptr) {
    dir.write("t.properties", text);
    Template t;
    EXPECT_TRUE(t.load(dir.path(), "t.properties", order));
    return t;
  }
  std::string savedText(Template& t) {
    EXPECT_TRUE(t.save());
    return readFile(dir / "t.properties");
  }
  TempFolder dir;
};

TEST_F(TemplateTest, RoundTripKeepsCommentsEmptyLinesAndJoinsContinuations) {
  Template t = loaded("# heading\n\na=1 // note\nb = x\\\n  y\n");
  EXPECT_EQ(t.count(), 2);
  EXPECT_EQ(*t.getRaw("b"), "xy");
  EXPECT_EQ(savedText(t), "# heading\n\na=1\nb=xy\n");
}

TEST_F(TemplateTest, PseudoKeysAreNumberedAndNotCounted) {
  Template t = loaded("! bang\n\n   \n#two\nk=v\n");
  EXPECT_EQ(t.count(), 1);
  EXPECT_EQ(t.keys(), (std::vector<std::string>{"k"}));
  std::vector<std::string> all(t.allKeys().begin(), t.allKeys().end());
  EXPECT_EQ(all, (std::vector<std::string>{"_COMMENT_LINE_0", "_EMPTY_LINE_0", "_EMPTY_LINE_1",
                                           "_COMMENT_LINE_1", "k"}));
  EXPECT_EQ(*t.getRaw("_COMMENT_LINE_1"), "#two\n");
}

TEST_F(TemplateTest, EndOfLineCommentCutsAtTheLastDoubleSlash) {
  Template t = loaded("url=http://example.org/a\nx=a//b//c\n");
  EXPECT_EQ(*t.getRaw("url"), "http:");
  EXPECT_EQ(*t.getRaw("x"), "a//b");
}

TEST_F(TemplateTest, KeyReferencesUseEarlierValues) {
  Template t = loaded("base=GUI\n{base}Title=Menu\n{missing}X=1\npre{base}post=2\n");
  EXPECT_EQ(*t.getRaw("GUITitle"), "Menu");
  EXPECT_EQ(*t.getRaw("X"), "1");
  EXPECT_EQ(*t.getRaw("preGUIpost"), "2");
}

TEST_F(TemplateTest, ValueReferencesExpandAndReplaceTheStoredText) {
  Template t = loaded(
      "dir=pics\nsub={dir}/small\npic={sub}/{name}.gif\nname=ship\nopen={dir\n"
      "gone={nothing}/x\n");
  EXPECT_EQ(*t.getRaw("pic"), "pics/small/ship.gif");
  EXPECT_EQ(*t.getRaw("open"), "{dir");
  EXPECT_EQ(*t.getRaw("gone"), "{nothing}/x");
  std::string text = savedText(t);
  EXPECT_NE(text.find("pic=pics/small/ship.gif\n"), std::string::npos);
}

TEST_F(TemplateTest, SelfReferenceStopsAtTheDepthLimit) {
  Template t = loaded("a={a}\nb=x{c}\nc=y{b}\n");
  EXPECT_EQ(*t.getRaw("a"), "{a}");
  const std::string* b = t.getRaw("b");
  ASSERT_NE(b, nullptr);
  // Eight nested substitutions (depths 0 to 7), then b's own text left unexpanded.
  EXPECT_EQ(*b, "xyxyxyxyx{c}");
}

TEST_F(TemplateTest, FanOutReferencesAreBounded) {
  std::string text;
  for (char level = 'a'; level < 'i'; ++level) {
    text += std::string(1, level) + "=";
    for (int i = 0; i < 60; ++i) text += "{" + std::string(1, level + 1) + "}";
    text += "\n";
  }
  text += "i=z\n";
  Template t = loaded(text);
  const std::string* a = t.getRaw("a");  // 60^8 substitutions unbounded; must return promptly
  ASSERT_NE(a, nullptr);
  EXPECT_LE(a->size(), 64u * 1024u + 4096u * 2048u);
}

TEST_F(TemplateTest, TypedGetters) {
  Template t = loaded(
      "c=(10;20;30)\nc2= ( 1 ; 2 )\nempty=\nn=12abc\nneg=-7\nf=2.5x\nv=(1.5;-2;3)\n"
      "big=99999999999\n");
  EXPECT_EQ(t.getColor("c", "", 0), 0x0A141Eu);
  EXPECT_EQ(t.getColor("c2", "", 0), 0x010200u);
  EXPECT_EQ(t.getInt("empty", "", 42), 42);
  EXPECT_EQ(t.getInt("absent", "", 42), 42);
  EXPECT_EQ(t.getInt("n", "", 0), 12);
  EXPECT_EQ(t.getInt("neg", "", 0), -7);
  EXPECT_EQ(t.getInt("big", "", 0), INT32_MAX);
  EXPECT_TRUE(t.getBool("n", "", false));
  EXPECT_FALSE(t.getBool("empty", "", false));
  EXPECT_FLOAT_EQ(t.getFloat("f", "", 0), 2.5f);
  EXPECT_EQ(t.getVector("v", "", {}), (std::array<float, 3>{1.5f, -2.0f, 3.0f}));
  EXPECT_TRUE(t.contains("empty"));
  EXPECT_FALSE(t.contains("absent"));
  EXPECT_EQ(t.getStringInto("c", "", 3), std::optional<std::string>("(10"));
  EXPECT_EQ(t.getStringInto("empty", "", 3), std::nullopt);
}

TEST_F(TemplateTest, NestedItemsAndSetItem) {
  Template t = loaded(
      "grpName=GUIType:checkboxGroup, selected:0\nlist=junk, color:1,2,3, alpha:4,"
      " alpha:5\n");
  EXPECT_EQ(t.getString("grpName", "selected"), std::optional<std::string>("0"));
  EXPECT_EQ(t.getString("grpName", "missing"), std::nullopt);
  EXPECT_EQ(t.getString("list", "color"), std::optional<std::string>("1,2,3"));
  EXPECT_EQ(t.getInt("list", "alpha", 0), 5);  // a repeated name keeps the last value
  t.setItem("grpName", "selected", "2");
  EXPECT_EQ(*t.getRaw("grpName"), " GUIType:checkboxGroup, selected:2");
  t.setItem("grpName", "extra", "x");
  EXPECT_EQ(*t.getRaw("grpName"), " GUIType:checkboxGroup, selected:2, extra:x");
  t.setItem("absent", "a", "b");
  EXPECT_FALSE(t.contains("absent"));
}

TEST_F(TemplateTest, SetKeepsPlaceOrAppends) {
  std::vector<std::string> order;
  Template t = loaded("a=1\nb=2\na=3\n", &order);
  EXPECT_EQ(order, (std::vector<std::string>{"a", "b", "a"}));
  EXPECT_EQ(*t.getRaw("a"), "3");
  t.set("b", "two");
  t.set("c", "3");
  EXPECT_EQ(savedText(t), "a=3\nb=two\nc=3\n");
  t.clear();
  EXPECT_EQ(t.count(), 0);
}

TEST_F(TemplateTest, AwkwardFilesLoadWithoutHarm) {
  // No trailing newline, CRLF line ends, a byte-order mark, lines without '=', a continuation at
  // the end of the file.
  Template t = loaded("\xEF\xBB\xBFk1=a\r\nno separator\r\nk2 = b\\");
  EXPECT_EQ(*t.getRaw("k1"), "a");
  EXPECT_EQ(*t.getRaw("k2"), "b\\");
  EXPECT_EQ(t.count(), 2);

  std::string garbage;
  for (int i = 0; i < 4096; ++i) garbage.push_back(static_cast<char>((i * 7919) & 0xFF));
  Template g = loaded(garbage);
  (void)g.keys();
  EXPECT_TRUE(g.save());
}

TEST_F(TemplateTest, OverlongLinesContinueAsTheNextLine) {
  std::string longValue(3000, 'v');
  Template t = loaded("k=" + longValue + "\nafter=1\n");
  // The first read takes 2047 characters; the rest of the line is a line of its own and has no
  // '=', so it is dropped.
  EXPECT_EQ(t.getRaw("k")->size(), 2045u);
  EXPECT_EQ(*t.getRaw("after"), "1");
}

TEST_F(TemplateTest, CommentOnTheLastLineKeepsTheNextKeyOnItsOwnLine) {
  Template t = loaded("a=1\n# last");
  t.set("b", "2");
  EXPECT_EQ(savedText(t), "a=1\n# last\nb=2\n");
}

TEST_F(TemplateTest, LoadAndSavePaths) {
  Template t;
  EXPECT_FALSE(t.save());  // no path yet
  EXPECT_FALSE(t.load(dir.path(), "missing.properties"));
  dir.write("GUI/x.properties", "k=v\n");
  Template u;
  ASSERT_TRUE(u.load(dir.path() + "/bin/..\\GUI\\", "x.properties"));
  EXPECT_EQ(u.path(), dir.path() + "/GUI\\x.properties");
  dir.write("empty.properties", "");
  Template e;
  EXPECT_TRUE(e.load(dir.path(), "empty.properties"));
  EXPECT_EQ(e.count(), 0);
}

TEST_F(TemplateTest, FailedSaveLeavesTheOldFileIntact) {
  Template t = loaded("keep=1\n");
  t.set("new", "2");
  // Something that is not a file stands where the sibling would be written.
  std::filesystem::create_directory(dir / "t.properties.saving");
  EXPECT_FALSE(t.save());
  EXPECT_EQ(readFile(dir / "t.properties"), "keep=1\n");
  std::filesystem::remove(dir / "t.properties.saving");
  EXPECT_TRUE(t.save());
  EXPECT_EQ(readFile(dir / "t.properties"), "keep=1\nnew=2\n");
  EXPECT_FALSE(testing_support::exists(dir / "t.properties.saving"));
}

TEST_F(TemplateTest, SaveIntoAFolderThatDoesNotExistFails) {
  Template t;
  t.setPath(dir / "nowhere", "x.properties");
  t.set("a", "1");
  EXPECT_FALSE(t.save());
}

TEST_F(TemplateTest, Utf8SurvivesBothWays) {
  Template t = loaded("name=Zoë ✈\n");
  EXPECT_EQ(*t.getRaw("name"), "Zoë ✈");
  EXPECT_EQ(t.getStringInto("name", "", 3), std::optional<std::string>("Zoë"));
  EXPECT_EQ(savedText(t), "name=Zoë ✈\n");
}

}  // namespace
}  // namespace platform

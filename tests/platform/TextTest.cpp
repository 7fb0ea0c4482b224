#include <gtest/gtest.h>

#include "platform/Text.h"

namespace platform {
namespace {

TEST(Text, TrimsCountWhatTheyRemove) {
  std::string s = " \t a b \t";
  EXPECT_EQ(trimRight(s, kBlanks), 2);
  EXPECT_EQ(s, " \t a b");
  EXPECT_EQ(trimLeft(s, kBlanks), 3);
  EXPECT_EQ(s, "a b");
  std::string blank = " \t ";
  EXPECT_EQ(trim(blank, kBlanks), 3);
  EXPECT_EQ(blank, "");
  std::string lineEnd = "  a=1 \n";
  EXPECT_EQ(trim(lineEnd, kBlanks), 2);  // the line end is not a blank
  EXPECT_EQ(lineEnd, "a=1 \n");
}

TEST(Text, CharacterEdits) {
  std::string path = "a\\\\\\b\\\\c";
  collapseDoubled(path, '\\');
  EXPECT_EQ(path, "a\\b\\c");
  std::string s = "a-b-c";
  replaceChar(s, '-', '+');
  EXPECT_EQ(s, "a+b+c");
  removeChars(s, "+a");
  EXPECT_EQ(s, "bc");
  std::string t = "abcabc";
  replaceSameLength(t, "bc", "XY");
  EXPECT_EQ(t, "aXYaXY");
  replaceSameLength(t, "XY", "Z");  // lengths differ: nothing happens
  EXPECT_EQ(t, "aXYaXY");
}

TEST(Text, ResolveDotDotRemovesTheSegmentBefore) {
  auto resolved = [](std::string p) {
    resolveDotDot(p);
    return p;
  };
  EXPECT_EQ(resolved("a\\b\\..\\c"), "a\\c");
  EXPECT_EQ(resolved("\\bin\\..\\resources\\GUI\\"), "\\resources\\GUI\\");
  EXPECT_EQ(resolved("/opt/sk/bin/..\\resources\\GUI\\..\\..\\manual\\index.htm"),
            "/opt/sk/manual\\index.htm");
  EXPECT_EQ(resolved("a/b/c/../../d"), "a/d");
  EXPECT_EQ(resolved("x\\..\\y"), "y");
  EXPECT_EQ(resolved("..\\y"), "..\\y");        // nothing before it to remove
  EXPECT_EQ(resolved("a\\b\\.."), "a\\b\\..");  // no separator after the ".."
}

TEST(Text, CharPositionTests) {
  EXPECT_TRUE(hasCharBefore("ab:c", 3, ':'));
  EXPECT_FALSE(hasCharBefore("ab:c", 2, ':'));
  EXPECT_FALSE(hasCharBefore("abc", 9, ':'));
  EXPECT_TRUE(hasCharAfterFromEnd("a.bmp", 4, '.'));
  EXPECT_FALSE(hasCharAfterFromEnd("a.jpeg", 4, '.'));
}

TEST(Text, SplitGluesPiecesWithoutTheRequiredCharacter) {
  EXPECT_EQ(split("a:1,2, b:3", ",", ':'), (std::vector<std::string>{"a:1,2", " b:3"}));
  EXPECT_EQ(split("x,a:1", ",", ':'), (std::vector<std::string>{"a:1"}));  // leading piece dropped
  EXPECT_EQ(split("a,,b", ","), (std::vector<std::string>{"a", "", "b"}));
  EXPECT_EQ(split("a;b,c", ";,"), (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_EQ(split("whole", ","), (std::vector<std::string>{"whole"}));
  EXPECT_TRUE(split("", ",").empty());
}

TEST(Text, SplitKeyValueTrimsBothSides) {
  auto kv = splitKeyValue("\t key = a = b  ", '=');
  ASSERT_TRUE(kv);
  EXPECT_EQ(kv->first, "key");
  EXPECT_EQ(kv->second, "a = b");
  EXPECT_FALSE(splitKeyValue("no separator", '='));
}

TEST(Text, CharacterCountCountsCodePoints) {
  EXPECT_EQ(characterCount("h\xC3\xA9llo"), 5u);
  EXPECT_EQ(characterCount(""), 0u);
}

}  // namespace
}  // namespace platform

// The placement and font texts as stored in the settings.
#include <gtest/gtest.h>

#include "app/shell/font_text.h"
#include "app/shell/window_placement.h"

namespace vocor {
namespace {

TEST(WindowPlacementTextTest, TenNumbersRoundTrip) {
  WindowPlacement placement;
  placement.flags = kPlacementRestoreToMaximized;
  placement.show_command = kShowMaximized;
  placement.min_x = placement.min_y = -1;
  placement.max_x = -8;
  placement.max_y = -8;
  placement.left = 10;
  placement.top = 20;
  placement.right = 810;
  placement.bottom = 620;
  const std::string text = FormatWindowPlacement(placement);
  EXPECT_EQ(text, "2,3,-1,-1,-8,-8,10,20,810,620");
  WindowPlacement read;
  ASSERT_TRUE(ParseWindowPlacement(text, &read));
  EXPECT_EQ(FormatWindowPlacement(read), text);
}

TEST(WindowPlacementTextTest, IncompleteOrMalformedTextLeavesTheRecord) {
  WindowPlacement read;
  read.left = 77;
  EXPECT_FALSE(ParseWindowPlacement("0,1,-1,-1,-1,-1,10,20,810", &read));
  EXPECT_FALSE(ParseWindowPlacement("0,1,-1,-1,-1,-1,10,20,810,", &read));
  EXPECT_FALSE(ParseWindowPlacement("0;1;-1;-1;-1;-1;10;20;810;620", &read));
  EXPECT_FALSE(ParseWindowPlacement("", &read));
  EXPECT_FALSE(ParseWindowPlacement("0,1,a,-1,-1,-1,10,20,810,620", &read));
  EXPECT_EQ(read.left, 77);
}

TEST(WindowPlacementTextTest, MinimizedComesBackRestored) {
  EXPECT_EQ(RestoredShowCommand(kShowMinimized), kShowRestore);
  EXPECT_EQ(RestoredShowCommand(kShowMinimize), kShowRestore);
  EXPECT_EQ(RestoredShowCommand(kShowMaximized), kShowMaximized);
  EXPECT_EQ(RestoredShowCommand(kShowNormal), kShowNormal);
}

TEST(KeepOnScreenTest, PullsFarEdgesBackAndLeavesVisibleOnes) {
  int left = 5000, top = 100;
  EXPECT_TRUE(KeepOnScreen(&left, &top, 1024, 768, 4, 4));
  EXPECT_EQ(left, 1024 - 50);
  EXPECT_EQ(top, 100);

  left = -3000;
  top = -3000;
  EXPECT_TRUE(KeepOnScreen(&left, &top, 1024, 768, 4, 4));
  EXPECT_EQ(left, 0);
  EXPECT_EQ(top, 0);

  // A border's width off the edge is how a maximized window sits.
  left = -4;
  top = 768 - 50;
  EXPECT_FALSE(KeepOnScreen(&left, &top, 1024, 768, 4, 4));
  EXPECT_EQ(left, -4);
  EXPECT_EQ(top, 718);
}

LogFont SampleFont() {
  LogFont font;
  font.height = -13;
  font.weight = 700;
  font.italic = 1;
  font.char_set = 0;
  font.pitch_and_family = 34;
  font.face_name = "Times New Roman";
  return font;
}

TEST(LogFontTextTest, RoundTripKeepsSpacesInTheFaceName) {
  const std::string text = FormatLogFont(SampleFont());
  EXPECT_EQ(text, "-13,0,0,0,700,1,0,0,0,0,0,0,34,Times New Roman");
  LogFont read;
  ASSERT_TRUE(ParseLogFont(text, &read));
  EXPECT_EQ(read.face_name, "Times New Roman");
  EXPECT_EQ(FormatLogFont(read), text);
}

TEST(LogFontTextTest, SmallFieldsKeepTheirLowByteAndTakeOctalAndHex) {
  LogFont read;
  ASSERT_TRUE(ParseLogFont("-13,0,0,0,400,300,0x1,010,0,0,0,0,0,Arial", &read));
  EXPECT_EQ(read.italic, 44);
  EXPECT_EQ(read.underline, 1);
  EXPECT_EQ(read.strike_out, 8);
  EXPECT_EQ(read.weight, 400);
}

TEST(LogFontTextTest, FaceNameRunsToTheEndCommasIncluded) {
  LogFont read;
  ASSERT_TRUE(ParseLogFont("0,0,0,0,0,0,0,0,0,0,0,0,0,A, B", &read));
  EXPECT_EQ(read.face_name, "A, B");
}

TEST(LogFontTextTest, RejectedTextsLeaveTheRecordUntouched) {
  LogFont read = SampleFont();
  // Trailing comma: an empty face name.
  EXPECT_FALSE(ParseLogFont("-13,0,0,0,700,1,0,0,0,0,0,0,34,", &read));
  // Twelve small numbers only.
  EXPECT_FALSE(ParseLogFont("-13,0,0,0,700,1,0,0,0,0,0,34,Arial", &read));
  EXPECT_FALSE(ParseLogFont("-13,x,0,0,700,1,0,0,0,0,0,0,34,Arial", &read));
  EXPECT_FALSE(
      ParseLogFont("-13,0,0,0,700,1,0,0,0,0,0,0,34,"
                   "A face name far longer than thirty-one characters",
                   &read));
  EXPECT_EQ(FormatLogFont(read), FormatLogFont(SampleFont()));
}

TEST(LogFontTextTest, FaceNamesAreCountedInCharactersNotBytes) {
  // 31 accented letters: 62 bytes of UTF-8 but a name the record holds.
  std::string name;
  for (int i = 0; i < 31; ++i) name += "\xC3\xA9";
  LogFont font;
  font.face_name = name + "\xC3\xA9";  // one too many: cut on writing
  const std::string text = FormatLogFont(font);
  LogFont read;
  ASSERT_TRUE(ParseLogFont(text, &read));
  EXPECT_EQ(read.face_name, name);
}

}  // namespace
}  // namespace vocor

#include <gtest/gtest.h>

#include "common/messages.h"
#include "support/fake_port.h"

namespace terravue {
namespace {

using testing::FakePort;
using Kind = FakePort::Kind;

TEST(InputInteger, ReasksUntilInRangeAndExplainsWhy) {
  FakePort port;
  port.promptAnswers = {"0", "abc", "11", "7"};
  EXPECT_EQ(port.InputInteger("Presets", "Number of presets >", 5, false, 10, 1), 7);
  EXPECT_EQ(port.Transcript(),
            "prompt: Number of presets > [5]\n"
            "error: Number of presets >\r\nMinimum value is: 1\n"
            "prompt: Number of presets > [0]\n"
            "prompt: Number of presets > [abc]\n"  // did not parse: shown again, no message
            "error: Number of presets >\r\nMaximum value is: 10\n"
            "prompt: Number of presets > [11]\n");
}

TEST(InputInteger, CancelKeepsTheValueAndWarnsOnlyWhenAsked) {
  FakePort quiet;
  EXPECT_EQ(quiet.InputInteger("T", "P", 3, false, 10, 1), 3);
  EXPECT_TRUE(quiet.Texts(Kind::Info).empty());

  FakePort warned;
  EXPECT_EQ(warned.InputInteger("T", "P", 3, true, 10, 1), 3);
  EXPECT_EQ(warned.Texts(Kind::Info),
            std::vector<std::string>{"Input of new value canceled.\r\nThe original value (3) will be used."});
}

TEST(InputReal, CancelAlwaysNotesTheOriginalValue) {
  FakePort port;
  EXPECT_EQ(port.InputReal("Scale", "Scale >", 2, 12.5, 1e6, 0.01), 12.5);
  EXPECT_EQ(port.Texts(Kind::Info),
            std::vector<std::string>{"Input of new value canceled.\r\nThe original value (12.50) will be used."});
}

TEST(InputReal, BoundsAreFormattedWithTheDecimals) {
  FakePort port;
  port.promptAnswers = {"0.0001", "2.5"};
  EXPECT_EQ(port.InputReal("Interval", "Interval >", 3, 1.0, 100.0, 0.001), 2.5);
  EXPECT_EQ(port.Texts(Kind::Error), std::vector<std::string>{"Interval >\r\nMinimum value is: 0.001"});
}

TEST(InputText, TooLongEntryFallsBackToTheDefault) {
  FakePort port;
  port.promptAnswers = {std::string(80, 'x'), std::string(78, 'y'), std::nullopt};
  EXPECT_EQ(port.InputText("Comment", "Comment >", "old", 78), "old");
  EXPECT_EQ(port.Texts(Kind::Error),
            std::vector<std::string>{"The entered string is too long.\r\nThe maximum length is: 78"});
  EXPECT_EQ(port.InputText("Comment", "Comment >", "old", 78), std::string(78, 'y'));
  EXPECT_EQ(port.InputText("Comment", "Comment >", "old", 78), "old");  // Cancel
}

TEST(InputText, LengthCountsCharactersNotBytes) {
  FakePort port;
  port.promptAnswers = {"Ch\xC3\xA2teau"};  // seven characters, eight bytes
  EXPECT_EQ(port.InputText("T", "P", "", 7), "Ch\xC3\xA2teau");
}

}  // namespace
}  // namespace terravue

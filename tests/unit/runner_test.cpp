// The runner's script language: what each line becomes, and the lines it refuses.
#include <gtest/gtest.h>

#include "Script.h"

namespace {

using K = TScriptCommand;

TEST(RunnerScript, ParsesEveryCommand) {
  const char* script =
      "# a comment\n"
      "\n"
      "wait 10\r\n"
      "move 100 200\n"
      "  press right 5 6\n"
      "release middle 7 8\n"
      "key 27\n"
      "shot menu.png\n"
      "state out/state.json\n"
      "lose\n"
      "quit";
  TScriptError error;
  auto commands = ParseScript(script, error);
  ASSERT_TRUE(commands.has_value()) << error.line << ": " << error.text;
  ASSERT_EQ(commands->size(), 9u);
  const auto& c = *commands;
  EXPECT_EQ(c[0].kind, K::Wait);
  EXPECT_EQ(c[0].count, 10);
  EXPECT_EQ(c[0].line, 3);
  EXPECT_EQ(c[1].kind, K::Move);
  EXPECT_EQ(c[1].x, 100);
  EXPECT_EQ(c[1].y, 200);
  EXPECT_EQ(c[2].kind, K::Press);
  EXPECT_EQ(c[2].button, platform::MouseButton::Right);
  EXPECT_EQ(c[3].kind, K::Release);
  EXPECT_EQ(c[3].button, platform::MouseButton::Middle);
  EXPECT_EQ(c[4].kind, K::Key);
  EXPECT_EQ(c[4].key, 27);
  EXPECT_EQ(c[5].kind, K::Shot);
  EXPECT_EQ(c[5].file, "menu.png");
  EXPECT_EQ(c[6].kind, K::State);
  EXPECT_EQ(c[6].file, "out/state.json");
  EXPECT_EQ(c[7].kind, K::Lose);
  EXPECT_EQ(c.back().kind, K::Quit);
}

TEST(RunnerScript, ClickIsMovePressWaitReleaseWait) {
  TScriptError error;
  auto c = ParseScript("click 300 400\n", error);
  ASSERT_TRUE(c.has_value());
  ASSERT_EQ(c->size(), 5u);
  const K::Kind expected[] = {K::Move, K::Press, K::Wait, K::Release, K::Wait};
  for (size_t i = 0; i < 5; ++i) {
    EXPECT_EQ((*c)[i].kind, expected[i]) << i;
    if ((*c)[i].kind != K::Wait) {
      EXPECT_EQ((*c)[i].x, 300);
      EXPECT_EQ((*c)[i].y, 400);
      EXPECT_EQ((*c)[i].button, platform::MouseButton::Left);
    } else {
      EXPECT_EQ((*c)[i].count, 1);
    }
  }
}

TEST(RunnerScript, RefusesLinesItCannotUnderstandAndNamesThem) {
  const char* bad[] = {
      "jump 1 2", "wait",         "wait -1",      "wait 1x",     "wait 1 2", "move 1",
      "move a b", "press left 1", "press up 1 2", "click 1 2 3", "key",      "key 256",
      "key -1",   "shot",         "shot a b",     "quit now",    "lose 1",   "move 99999999999 0",
      "Wait 1",
  };
  for (const char* line : bad) {
    TScriptError error;
    std::string script = std::string("wait 1\n") + line + "\nquit\n";
    EXPECT_FALSE(ParseScript(script, error).has_value()) << line;
    EXPECT_EQ(error.line, 2) << line;
    EXPECT_EQ(error.text, line);
  }
}

}  // namespace

// The runner's script language: what each line becomes, and the lines it refuses.
#include "Script.h"
#include "TestSupport.h"

namespace {

using K = TScriptCommand;

std::vector<K::Kind> Kinds(const std::vector<K>& commands) {
  std::vector<K::Kind> kinds;
  for (const K& c : commands) kinds.push_back(c.kind);
  return kinds;
}

TEST(RunnerScript, ParsesEveryCommandAndAClickIntoItsFiveStepsAndNamesALineItRefuses) {
  const char* script =
      "# a comment\n\nwait 10\r\nmove 100000 -100000\n  press right 5 6\nrelease middle 7 8\n"
      "key 27\nshot menu.png\nstate out/state.json\nlose\nquit";
  TScriptError error;
  auto commands = ParseScript(script, error);
  ASSERT_TRUE(commands.has_value()) << error.line << ": " << error.text;
  const auto& c = *commands;
  ASSERT_EQ(Kinds(c), (std::vector<K::Kind>{K::Wait, K::Move, K::Press, K::Release, K::Key, K::Shot,
                                            K::State, K::Lose, K::Quit}));
  EXPECT_EQ(c[0].count, 10);
  EXPECT_EQ(c[0].line, 3);
  EXPECT_EQ(c[1].x, 100000);  // the coordinates' limits
  EXPECT_EQ(c[1].y, -100000);
  EXPECT_EQ(c[2].button, platform::MouseButton::Right);
  EXPECT_EQ(c[3].button, platform::MouseButton::Middle);
  EXPECT_EQ(c[4].key, 27);
  EXPECT_EQ(c[5].file, "menu.png");
  EXPECT_EQ(c[6].file, "out/state.json");
  // A click is a move, a press, a wait, a release and a wait.
  auto click = ParseScript("click 300 400\n", error);
  ASSERT_TRUE(click.has_value());
  ASSERT_EQ(Kinds(*click), (std::vector<K::Kind>{K::Move, K::Press, K::Wait, K::Release, K::Wait}));
  for (const K& step : *click)
    EXPECT_TRUE(step.kind == K::Wait
                    ? step.count == 1
                    : step.x == 300 && step.y == 400 && step.button == platform::MouseButton::Left)
        << step.kind;
  // Lines it cannot understand are refused and named.
  const char* bad[] = {"Wait 1",   "wait",     "wait -1",      "wait 1x",      "wait 1 2",
                       "move 1",   "move a b", "press left 1", "press up 1 2", "click 1 2 3",
                       "key",      "key 256",  "key -1",       "shot",         "shot a b",
                       "quit now", "lose 1",   "move 100001 0"};
  for (const char* line : bad) {
    TScriptError refused;
    std::string script = std::string("wait 1\n") + line + "\nquit\n";
    EXPECT_FALSE(ParseScript(script, refused).has_value()) << line;
    EXPECT_EQ(refused.line, 2) << line;
    EXPECT_EQ(refused.text, line);
  }
}

}  // namespace

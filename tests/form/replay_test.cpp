// The replay driver's reading of step lists and its JSON.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>

#include "tools/replay.h"

namespace kelvane::replay {
namespace {

std::optional<std::string> run(const std::string& document, ModelTarget& target) {
  std::istringstream in(document);
  return applySteps(in, target);
}

TEST(Replay, DesignPressPrintsTheRoadOfOnePress) {
  ModelTarget target;
  ASSERT_FALSE(run(R"json({"steps":[{"click":"Command1"}]})json", target));
  const auto out = nlohmann::json::parse(toJson(target.snapshot()));
  EXPECT_EQ(out["Text2"][0], "同数列巻き--3 X 3");
  EXPECT_EQ(out["Text2"][1], "4");
  EXPECT_EQ(out["Text2"][7], "0.756");
  EXPECT_EQ(out["captions"]["Label1(13)"], "全長 mm");
  EXPECT_EQ(out["visible"]["Label2"], false);
  EXPECT_EQ(out["focus"], "Command1");
  EXPECT_EQ(out["option1"], 1);
  EXPECT_EQ(out["diagram"]["circles"].size(), 10u);
  EXPECT_EQ(out["diagram"]["circles"][0], nlohmann::json::parse("[8160, 2642, 867.5, true]"));
  EXPECT_EQ(out["diagram"]["line1"], nlohmann::json::parse("[8160, 3510, 11198, 3510]"));
  EXPECT_EQ(out["print_requests"], 0);
  EXPECT_EQ(out.size(), 11u);
}

TEST(Replay, EveryStepKind) {
  ModelTarget target;
  ASSERT_FALSE(run(R"json({"steps":[
      {"type":"Text1(2)","text":""}, {"focus":"Text1(3)"},
      {"set":"Text1(9)","text":""}, {"click":"Option1(0)"}, {"click":"Option3(1)"},
      {"click":"Command2"}, {"key":123}, {"close":"Form2"}, {"click":"Command2"}]})json",
                   target));
  const Snapshot s = target.snapshot();
  EXPECT_EQ(s.text1[2], "1");
  EXPECT_EQ(s.text1[9], "");
  EXPECT_EQ(s.option1, 0);
  EXPECT_EQ(s.option3, 1);
  EXPECT_EQ(s.printRequests, 1);
  EXPECT_EQ(s.form2.size(), 16u);
  EXPECT_EQ(s.focus, "Command2");
}

TEST(Replay, BadInputIsOneErrorLine) {
  const std::vector<std::string> bad = {
      "", "{", "[]", R"json({"steps":{}})json", R"json({"steps":[{"jump":"Text1(0)"}]})json",
      R"json({"steps":[{"click":"Command9"}]})json", R"json({"steps":[{"focus":"Text1(99)"}]})json",
      R"json({"steps":[{"type":"Text1(0)"}]})json", R"json({"steps":[{"focus":"Text1(5)"}]})json",
      R"json({"steps":[{"click":"Text1(0)"}]})json", R"json({"steps":[{"type":"Command1","text":"x"}]})json",
      R"json({"steps":[{"key":"F12"}]})json", R"json({"steps":[{"close":"Form1"}]})json",
      R"json({"steps":[{"focus":"Text1(0)","click":"Command1"}]})json", R"json({"steps":[7]})json"};
  for (const std::string& doc : bad) {
    ModelTarget target;
    const auto error = run(doc, target);
    ASSERT_TRUE(error) << doc;
    EXPECT_EQ(error->find('\n'), std::string::npos);
  }
}

}  // namespace
}  // namespace kelvane::replay

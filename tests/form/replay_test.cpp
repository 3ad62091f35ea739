// The replay driver's reading of step lists and its JSON.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>

#include <cstdio>
#include <nlohmann/json.hpp>
#include <sstream>

#include "../job/job_fixtures.h"
#include "job/file_io.h"
#include "tools/replay/replay.h"

namespace kelvane::replay {
namespace {

// The error line of the steps, nothing when every step applied.
std::optional<std::string> run(const std::string& document, ModelTarget& target) {
  std::istringstream in(document);
  const Expected<void> applied = applySteps(in, target);
  if (applied.ok()) return std::nullopt;
  return applied.message();
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
  EXPECT_EQ(out["results_current"], true);
  EXPECT_EQ(out["editable"][7], true);
  EXPECT_EQ(out["editable"][8], false);
  EXPECT_EQ(out.size(), 13u);
}

// What a script sees of the results: out of date after any input change, a
// typed target or a refused press, current again after the next complete press.
TEST(Replay, ResultsShownOutOfDateUntilTheNextPress) {
  struct Row {
    const char* steps;
    bool current;
  };
  const Row rows[] = {
      {R"x([])x", true},  // nothing shown yet, so nothing out of date
      {R"x([{"click":"Command1"}])x", true},
      {R"x([{"click":"Command1"},{"type":"Text1(2)","text":"10"}])x", false},
      {R"x([{"click":"Command1"},{"click":"Option1(0)"}])x", false},
      {R"x([{"click":"Command1"},{"type":"Text2(10)","text":"20"},{"focus":"Text1(13)"}])x", false},
      // A target still being typed is no result of the press.
      {R"x([{"click":"Command1"},{"type":"Text2(10)","text":"20"}])x", false},
      {R"x([{"click":"Command1"},{"type":"Text1(0)","text":"0,2"},{"click":"Command1"}])x", false},
      {R"x([{"click":"Command1"},{"type":"Text1(2)","text":"12"},{"click":"Command1"}])x", true},
      // A result box that is no target takes no typing.
      {R"x([{"click":"Command1"},{"type":"Text2(0)","text":"5"},{"focus":"Text1(0)"}])x", true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.steps);
    ModelTarget target;
    ASSERT_FALSE(run(std::string(R"({"steps":)") + row.steps + "}", target));
    EXPECT_EQ(target.snapshot().resultsCurrent, row.current);
  }
  // Typing into a result box that is no target is not possible in the window.
  const Snapshot s = ModelTarget().snapshot();
  EXPECT_EQ(std::count(s.editable.begin(), s.editable.end(), true), 4);
}

// The browser page draws from the replay's JSON: the same text, then what
// only the page reads. Whether the outputs may go without a press differs
// from results_current before the first press, when nothing is shown out of
// date and yet nothing belongs to the inputs.
TEST(Replay, ThePageReadsTheReplaysJsonWithItsOwnKeysAfter) {
  struct Row {
    const char* steps;
    int selectRequests;
    bool sheetOpen;
    bool outputsCurrent;
  };
  const Row rows[] = {
      {R"x([])x", 0, false, false},
      {R"x([{"click":"Command1"}])x", 0, false, true},
      {R"x([{"click":"Command1"},{"type":"Text1(2)","text":"10"}])x", 0, false, false},
      {R"x([{"type":"Text1(0)","text":"0,2"},{"click":"Command1"}])x", 1, false, false},
      {R"x([{"click":"Command2"}])x", 0, true, false},
      {R"x([{"click":"Command2"},{"close":"Form2"}])x", 0, false, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.steps);
    ModelTarget target;
    ASSERT_FALSE(run(std::string(R"({"steps":)") + row.steps + "}", target));
    const std::string replay = toJson(target.snapshot());
    const std::string page = toJson(target.snapshot(), JsonFor::Page);
    // All but the closing brace is the same text.
    ASSERT_TRUE(replay.ends_with("\n}"));
    EXPECT_EQ(page.substr(0, replay.size() - 2), replay.substr(0, replay.size() - 2));
    nlohmann::json own = nlohmann::json::parse(page);
    EXPECT_EQ(own["select_requests"], row.selectRequests);
    EXPECT_EQ(own["sheet_open"], row.sheetOpen);
    EXPECT_EQ(own["outputs_current"], row.outputsCurrent);
    for (const char* key : {"select_requests", "sheet_open", "outputs_current"}) own.erase(key);
    EXPECT_EQ(own, nlohmann::json::parse(replay));
  }
}

TEST(Replay, EveryStepKind) {
  ModelTarget target;
  ASSERT_FALSE(run(R"json({"steps":[
      {"type":"Text1(2)","text":""}, {"focus":"Text1(3)"},
      {"set":"Text1(9)","text":""}, {"click":"Option1(0)"}, {"click":"Option3(1)"},
      {"click":"Command2"}, {"key":123}, {"close":"Form2"}, {"click":"Command2"}]})json",
                   target));
  const Snapshot s = target.snapshot();
  EXPECT_EQ(s.inputTexts[2], "1");
  EXPECT_EQ(s.inputTexts[9], "");
  EXPECT_EQ(s.option1, 0);
  EXPECT_EQ(s.option3, 1);
  EXPECT_EQ(s.printRequests, 1);
  EXPECT_EQ(s.form2.size(), 16u);
  EXPECT_EQ(s.focus, "Command2");
}

// Arrays nested `levels` deep around an empty one, as a step's value.
std::string nested(int levels) { return std::string(levels, '[') + std::string(levels, ']'); }

struct BadDocument {
  std::string document;
  std::string error;  // what the error line says
};

TEST(Replay, BadInputIsOneShortErrorLine) {
  const std::string huge(100000, 'x');
  const std::vector<BadDocument> bad = {
      {"", "JSON として読めません"},
      {"{", "JSON として読めません"},
      {"[]", "\"steps\" の配列"},
      {R"json({"steps":{}})json", "\"steps\" の配列"},
      {R"json({"steps":[{"jump":"Text1(0)"}]})json", "手順 1: 知らない手順です: {\"jump\""},
      {R"json({"steps":[{"click":"Command9"}]})json", "知らないコントロールです"},
      {R"json({"steps":[{"focus":"Text1(99)"}]})json", "知らないコントロールです"},
      {R"json({"steps":[{"focus":"Text1(5)"}]})json",
       "フォーカスを受けられないコントロールです: Text1(5)"},
      {R"json({"steps":[{"click":"Text1(0)"}]})json", "クリックできないコントロールです: Text1(0)"},
      {R"json({"steps":[{"type":"Command1","text":"x"}]})json",
       "今は文字を入力できないコントロールです"},
      {R"json({"steps":[{"key":"F12"}]})json", "整数のキーコード"},
      {R"json({"steps":[{"key":1.5}]})json", "整数のキーコード"},
      {R"json({"steps":[{"close":"Form1"}]})json", "閉じられるのは Form2 だけです"},
      {R"json({"steps":[{"focus":"Text1(0)","click":"Command1"}]})json", "することは 1 つです"},
      {R"json({"steps":[{"click":"Command1","text":"x"}]})json", "知らない項目があります"},
      {R"json({"steps":[7]})json", "オブジェクトで書きます: 7"},
      // A box step without its text names what is missing, not the step.
      {R"json({"steps":[{"type":"Text1(0)"}]})json", "手順に \"text\" の文字列がありません"},
      {R"json({"steps":[{"set":"Text1(0)","text":5}]})json",
       "手順に \"text\" の文字列がありません"},
      // A control is named as the window writes it.
      {R"json({"steps":[{"type":"Text1(002)","text":"5"}]})json", "知らないコントロールです"},
      {R"json({"steps":[{"click":"Option1(01)"}]})json", "知らないコントロールです"},
      {R"json({"steps":[{"focus":"text1(0)"}]})json", "知らないコントロールです"},
      // Key codes beyond 64 bits are out of range, not −1.
      {R"json({"steps":[{"key":18446744073709551615}]})json",
       "範囲（0〜65535）の外です: 18446744073709551615"},
      {R"json({"steps":[{"key":18446744073709551616}]})json", "範囲（0〜65535）の外です"},
      {R"json({"steps":[{"key":-9223372036854775809}]})json", "範囲（0〜65535）の外です"},
      {R"json({"steps":[{"key":-1}]})json", "範囲（0〜65535）の外です: -1"},
      {R"json({"steps":[{"key":65536}]})json", "範囲（0〜65535）の外です"},
      // Nesting is refused while reading, before anything quotes the step.
      {R"json({"steps":[{"click":)json" + nested(200000) + "}]}", "32 段を超えています"},
      {nested(200000), "32 段を超えています"},
      {R"json({"steps":[{"click":)json" + nested(kMaxNesting - 3) + "}]}",
       "知らないコントロールです: {\"click\":[[[["},
      // A step is quoted short, on one line, cut at a whole character.
      {R"json({"steps":[{"jump":"Text1(0)","text":")json" + huge + "\"}]}", "知らない手順です"},
      {R"json({"steps":[{"click":")json" + huge + "\"}]}",
       R"(知らないコントロールです: {"click":"xx)"},
      {R"json({"steps":[{"jump":"あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほ"}]})json",
       "…"},
      {R"({"steps":[{"a\nb":1}]})", R"(知らない手順です: {"a\nb":1})"},
      // A job file that cannot be opened or saved is named with the reason.
      {R"json({"steps":[{"open":5}]})json", "手順にファイル名がありません: {\"open\":5}"},
      {R"json({"steps":[{"save":""}]})json", "手順にファイル名がありません"},
      {R"json({"steps":[{"open":"/nonexistent/a.kelvane"}]})json",
       "手順 1: 「a.kelvane」を開けません。読み込めません（ファイルがありません）。"},
      {R"json({"steps":[{"open":"/"}]})json", "通常のファイルではありません"},
      {R"json({"steps":[{"save":"/nonexistent/b.kelvane"}]})json",
       "手順 1: 「b.kelvane」を保存できません（保存先のフォルダーがありません）。"},
      // A device is written into, never replaced: here it answers with a full disk.
      {R"json({"steps":[{"save":"/dev/full"}]})json",
       "手順 1: 「full」を保存できません（ディスクがいっぱいです）。"},
      {R"json({"steps":[{"open":"/nonexistent/a\nb.kelvane"}]})json",
       "「a b.kelvane」を開けません"},
      {R"json({"steps":[{"save":"x.kelvane","text":"x"}]})json", "知らない項目があります"},
      {R"json({"steps":[{"save":"x.kelvane","open":"x.kelvane"}]})json", "することは 1 つです"},
  };
  for (const BadDocument& doc : bad) {
    ModelTarget target;
    const auto error = run(doc.document, target);
    ASSERT_TRUE(error) << doc.document.substr(0, 80);
    EXPECT_NE(error->find(doc.error), std::string::npos) << *error;
    EXPECT_EQ(error->find('\n'), std::string::npos) << *error;
    EXPECT_LE(error->size(), 200u) << *error;
  }
}

TEST(Replay, NestingUpToTheLimitIsRead) {
  // The steps sit two levels deep; an ignored member may nest to the limit.
  const std::string atLimit = R"json({"steps":[], "note":)json" + nested(kMaxNesting - 1) + "}";
  const std::string beyond = R"json({"steps":[], "note":)json" + nested(kMaxNesting) + "}";
  ModelTarget target;
  EXPECT_FALSE(run(atLimit, target));
  EXPECT_TRUE(run(beyond, target));

  // Brackets in a text are no nesting, after an escaped quote neither.
  const std::string brackets = std::string(100, '[') + std::string(100, '{');
  ASSERT_FALSE(run(R"json({"steps":[{"type":"Text1(13)","text":"\\\")json" + brackets +
                       R"json("}, {"type":"Text1(3)","text":"]]]"}]})json",
                   target));
  EXPECT_EQ(target.snapshot().inputTexts[13], "\\\"" + brackets);
}

// A stream that fails the way a directory or a broken disk fails a read.
class FailingBuffer : public std::streambuf {
 protected:
  int_type underflow() override { throw std::ios_base::failure("read error"); }
};

TEST(Replay, DocumentsThatCannotBeReadAreRefused) {
  ModelTarget target;
  FailingBuffer failing;
  std::istream unreadable(&failing);
  const auto readError = applySteps(unreadable, target);
  ASSERT_FALSE(readError.ok());
  EXPECT_NE(readError.message().find("手順を読み込めません"), std::string::npos)
      << readError.message();

  // Refused at the limit, from a stream as from text, before parsing: an
  // unclosed "[" never grows into a parse of the whole input.
  const std::string tooLong(kMaxDocumentBytes + 1, '[');
  std::istringstream in(tooLong);
  for (const auto& error :
       {applySteps(in, target), applySteps(std::string_view(tooLong), target)}) {
    ASSERT_FALSE(error.ok());
    EXPECT_EQ(error.message(), "手順が 16 MiB を超えています");
  }

  const std::string head = R"json({"steps":[{"set":"Text1(13)","text":")json", tail = "\"}]}";
  const std::size_t digits = kMaxDocumentBytes - head.size() - tail.size();
  std::istringstream atLimit(head + std::string(digits, '7') + tail);
  EXPECT_TRUE(applySteps(atLimit, target).ok());
  EXPECT_EQ(target.snapshot().inputTexts[13].size(), digits);
}

// A job saved by one replay and opened by another: every input box, the
// former and the material come back, and the results are computed again.
TEST(Replay, SavedJobOpensAgain) {
  const std::string file =
      ::testing::TempDir() + "replay-job-" + std::to_string(::getpid()) + ".kelvane";
  auto withFile = [&](std::string document) {
    for (std::size_t at; (at = document.find("FILE")) != std::string::npos;)
      document.replace(at, 4, file);
    return document;
  };
  ModelTarget saver;
  ASSERT_FALSE(run(withFile(R"json({"steps":[{"click":"Option1(2)"},
      {"type":"Text1(2)","text":"40"}, {"click":"Option3(1)"},
      {"type":"Text1(13)","text":"強め\t\"x\""}, {"click":"Command1"}, {"save":"FILE"}]})json"),
                   saver));
  ModelTarget opener;
  ASSERT_FALSE(run(withFile(R"json({"steps":[{"type":"Text1(3)","text":"99"},
      {"open":"FILE"}, {"save":"FILE"}]})json"),
                   opener));
  std::remove(file.c_str());
  const Snapshot saved = saver.snapshot(), opened = opener.snapshot();
  EXPECT_EQ(opened.inputTexts, saved.inputTexts);
  EXPECT_EQ(opened.resultTexts, saved.resultTexts);
  EXPECT_EQ(opened.option1, 2);
  EXPECT_EQ(opened.option3, 1);
  EXPECT_EQ(opened.circles, saved.circles);
  EXPECT_EQ(opened.inputTexts[13], "強め\t\"x\"");
}

// The replay's save keeps what 上書き保存 keeps: every field of the job last
// opened, its 見積条件 and the time of their price list; only the form's
// inputs are new.
TEST(Replay, SaveKeepsEverythingOfTheJobOpened) {
  const std::string stem = ::testing::TempDir() + "replay-priced-" + std::to_string(::getpid());
  const std::string opened = stem + ".kelvane", saved = stem + "-saved.kelvane";
  job::Job job;
  for (const auto& named : job::test::sampleJobs()) {
    if (named.name == "PricedAndIssued") job = named.job;
  }
  ASSERT_TRUE(only(job).terms);
  ASSERT_TRUE(job::saveJobFile(opened, job).ok());
  ModelTarget target;
  ASSERT_FALSE(run(R"json({"steps":[{"open":")json" + opened +
                       R"json("}, {"type":"Text1(2)","text":"150"}, {"save":")json" + saved +
                       R"json("}]})json",
                   target));
  const Expected<job::Job> read = job::readJobFile(saved);
  std::remove(opened.c_str());
  std::remove(saved.c_str());
  ASSERT_TRUE(read) << read.message();
  only(job).input(form::InputBox::Turns) = "150";
  job.programVersion = read->programVersion;
  job.savedAt = read->savedAt;
  EXPECT_EQ(*read, job);
}

TEST(Replay, LeadingByteOrderMarksAreNoPartOfATypedText) {
  const std::string bom = "\xEF\xBB\xBF";
  ModelTarget target;
  ASSERT_FALSE(run(R"json({"steps":[
      {"type":"Text1(13)","text":"\ufeff5"}, {"set":"Text1(3)","text":"\ufeff\ufeffab"},
      {"type":"Text1(4)","text":"a\ufeffb\ufeff"}, {"set":"Text1(1)","text":"\ufeff"}]})json",
                   target));
  const Snapshot s = target.snapshot();
  EXPECT_EQ(s.inputTexts[13], "5");
  EXPECT_EQ(s.inputTexts[3], "ab");
  EXPECT_EQ(s.inputTexts[4], "a" + bom + "b" + bom);
  EXPECT_EQ(s.inputTexts[1], "");
}

}  // namespace
}  // namespace kelvane::replay

// The .kelvane text: what is written, what is read back, and every kind of
// file that is refused.
#include <gtest/gtest.h>

#include <functional>

#include <nlohmann/json.hpp>

#include "job/job_json.h"
#include "job_fixtures.h"

namespace kelvane::job {
namespace {

using nlohmann::json;

// A job of one coil as a version 2 file held it, the coil's keys at the top
// and its 品番 among the job's fields, written from what this version
// writes.
json versionTwo(const Job& job) {
  json doc = json::parse(writeJob(job));
  const json item = doc["items"][0];
  doc.erase("items");
  doc["formatVersion"] = 2;
  doc["job"]["partNumber"] = item["partNumber"];
  for (const char* key : {"former", "material", "inputs", "quotationTerms", "priceListSavedAt"})
    doc[key] = item[key];
  return doc;
}

// A job of one coil read from a version 2 file: what that version had no
// place for is left out.
Job asVersionTwoHeldIt(Job job) {
  for (Item& item : job.items) {
    item.name.clear();
    item.basisLot = 0;
    item.requirements.clear();
  }
  return job;
}

class RoundTrip : public ::testing::TestWithParam<test::NamedJob> {};

TEST_P(RoundTrip, ReadsBackWhatWasWritten) {
  const Job& job = GetParam().job;
  const Expected<Job> read = readJob(writeJob(job));
  ASSERT_TRUE(read) << read.message();
  EXPECT_EQ(*read, job);
}

INSTANTIATE_TEST_SUITE_P(Samples, RoundTrip, ::testing::ValuesIn(test::sampleJobs()),
                         [](const auto& info) { return info.param.name; });

// The document other tools read and write: its keys must not drift.
TEST(WriteJob, DesignJobAsSaved) {
  const auto noon = std::chrono::sys_days{std::chrono::year{2026} / 12 / 8} + std::chrono::hours{3};
  Job job = stampForSaving(test::designJob(), noon);
  job.fields.customer = "顧客";
  EXPECT_EQ(job.programVersion, programVersion());
  job.programVersion = "0.1.0";
  EXPECT_EQ(writeJob(job), R"({
  "format": "kelvane-job",
  "formatVersion": 3,
  "programVersion": "0.1.0",
  "savedAt": "2026-12-08T03:00:00Z",
  "job": {
    "customer": "顧客",
    "customerPerson": "",
    "quotationNumber": "",
    "personInCharge": "",
    "memo": "",
    "workingTemperature": 20.0,
    "subject": "",
    "deliveryTerms": "",
    "paymentTerms": "",
    "remarks": "",
    "revision": 0,
    "issuedOn": "",
    "validDays": 30
  },
  "items": [
    {
      "partNumber": "",
      "name": "",
      "former": "rectangular",
      "material": "copper",
      "inputs": {
        "bareDiameter": "0.2",
        "finishedDiameter": "0.21",
        "turns": "10",
        "leadLength": "10",
        "referenceThickness": "0.8",
        "innerDiameter": "10",
        "sideA": "2",
        "sideB": "2",
        "cornerR1": "0.3",
        "cornerR2": "0.3",
        "fanRadius": "50",
        "fanAngle": "60",
        "fanWideWidth": "60",
        "tension": "60"
      },
      "quotationTerms": null,
      "priceListSavedAt": "",
      "basisLot": 0,
      "requirements": []
    }
  ],
  "issues": []
}
)");
}

// A job saved before prices were kept: what it holds opens as it did, the
// quotation's fields at their defaults and no terms, whatever keys of a
// later version it happens to carry.
TEST(ReadJob, VersionOneOpensWithoutTerms) {
  json doc = versionTwo(test::sampleJobs()[1].job);
  doc["formatVersion"] = 1;
  for (const char* key :
       {"subject", "deliveryTerms", "paymentTerms", "remarks", "revision", "issuedOn", "validDays"})
    doc["job"].erase(key);
  doc["job"]["revision"] = "not read in version 1";
  doc["quotationTerms"] = "not read in version 1";
  const Expected<Job> read = readJob(doc.dump());
  ASSERT_TRUE(read) << read.message();
  Job expected = asVersionTwoHeldIt(test::sampleJobs()[1].job);
  EXPECT_EQ(*read, expected);
  EXPECT_EQ(only(*read).terms, std::nullopt);
  EXPECT_EQ(read->fields.validDays, 30);
}

// A job saved before the terms named their wire's material: its one wire
// price is for the job's material; a job that names another keeps it.
TEST(ReadJob, WirePriceIsForTheMaterialSavedWith) {
  Job aluminium = test::sampleJobs()[4].job;
  only(aluminium).coil.material = ConductorMaterial::Aluminium;
  only(aluminium).terms->wireMaterial = ConductorMaterial::Aluminium;
  json doc = versionTwo(aluminium);
  doc["quotationTerms"].erase("wireMaterial");
  Expected<Job> read = readJob(doc.dump());
  ASSERT_TRUE(read) << read.message();
  EXPECT_EQ(*read, asVersionTwoHeldIt(aluminium));

  Job switched = aluminium;
  only(switched).coil.material = ConductorMaterial::Copper;
  read = readJob(writeJob(switched));
  ASSERT_TRUE(read) << read.message();
  EXPECT_EQ(only(*read).terms->wireMaterial, ConductorMaterial::Aluminium);
}

// The person the 見積書 is addressed to is kept; a job saved before there
// was one opens with none, its company addressed as before.
TEST(ReadJob, TheCustomersPersonIsKeptAndMayBeAbsent) {
  Job job = test::sampleJobs()[4].job;
  job.fields.customerPerson = "山田 太郎";
  const Expected<Job> read = readJob(writeJob(job));
  ASSERT_TRUE(read) << read.message();
  EXPECT_EQ(read->fields.customerPerson, "山田 太郎");
  json older = versionTwo(test::sampleJobs()[4].job);
  older["job"].erase("customerPerson");
  const Expected<Job> opened = readJob(older.dump());
  ASSERT_TRUE(opened) << opened.message();
  EXPECT_EQ(*opened, asVersionTwoHeldIt(test::sampleJobs()[4].job));
}

// A design job as version 2 saved it, changed by one edit.
std::string edited(const std::function<void(json&)>& edit) {
  json doc = versionTwo(test::designJob());
  edit(doc);
  return doc.dump();
}

// A priced job as version 2 saved it, its terms changed by one edit.
std::string priced(const std::function<void(json&)>& edit) {
  json doc = versionTwo(test::sampleJobs()[4].job);
  edit(doc["quotationTerms"]);
  return doc.dump();
}

// The request of three items as saved now, changed by one edit.
std::string request(const std::function<void(json&)>& edit) {
  json doc = json::parse(writeJob(test::sampleJobs()[5].job));
  edit(doc);
  return doc.dump();
}

// The transformer as saved now, its windings over the first changed by one
// edit.
std::string stacked(const std::function<void(json&)>& edit) {
  json doc = json::parse(writeJob(test::sampleJobs()[6].job));
  edit(doc["items"][0]["windings"]);
  return doc.dump();
}

std::string nested(int depth) {
  return R"({"format":"kelvane-job","formatVersion":1,"extra":)" + std::string(depth, '[') +
         std::string(depth, ']') + "}";
}

struct Refusal {
  const char* name;
  std::string text;
  std::string says;  // a part of the message that names the fault
  friend void PrintTo(const Refusal& r, std::ostream* os) { *os << r.name; }
};

class Refused : public ::testing::TestWithParam<Refusal> {};

TEST_P(Refused, GivesOneMessageAndNoJob) {
  const Expected<Job> read = readJob(GetParam().text);
  ASSERT_FALSE(read);
  EXPECT_NE(read.message().find(GetParam().says), std::string::npos) << read.message();
}

INSTANTIATE_TEST_SUITE_P(
    BadFiles, Refused,
    ::testing::Values(
        Refusal{"Empty", "", "JSON として読めません（1 行目）"},
        Refusal{"CutShort", writeJob(test::designJob()).substr(0, 200),
                "JSON として読めません（10 行目）"},
        Refusal{"NumberBeyondDouble", R"({"format": "kelvane-job", "x": 1e999})",
                "JSON として読めません（扱えない大きさの数があります）"},
        Refusal{"TwoDocuments", "{} {}", "JSON として読めません"},
        Refusal{"Array", "[1, 2]", "全体が JSON のオブジェクトではありません"},
        Refusal{"OtherJson", R"({"name": "x"})", "Kelvane の案件ファイルではありません"},
        Refusal{"OtherFormat", edited([](json& d) { d["format"] = "kelvane-batch"; }),
                "Kelvane の案件ファイルではありません"},
        Refusal{"NoVersion", edited([](json& d) { d.erase("formatVersion"); }),
                "「formatVersion」）がありません"},
        Refusal{"VersionAsText", edited([](json& d) { d["formatVersion"] = "1"; }),
                "整数ではありません"},
        Refusal{"VersionFraction", edited([](json& d) { d["formatVersion"] = 1.5; }),
                "整数ではありません"},
        Refusal{"NewerVersion", edited([](json& d) { d["formatVersion"] = 4; }),
                "新しい形式（版 4）の案件ファイルです。この Kelvane が開けるのは版 3 までです。"},
        Refusal{"HugeVersion", edited([](json& d) { d["formatVersion"] = 18446744073709551615u; }),
                "新しい形式"},
        // 2^64 fits no integer type, yet it is an integer and a newer version.
        Refusal{"BeyondEveryInteger",
                R"({"format": "kelvane-job", "formatVersion": 18446744073709551616})",
                "新しい形式（版 18446744073709551616）"},
        Refusal{"NewerAsFloat", edited([](json& d) { d["formatVersion"] = 4.0; }),
                "新しい形式（版 4）"},
        // The parser would stop at the NUL and read the job alone.
        Refusal{"NulAndGarbage", writeJob(test::designJob()) + std::string("\0garbage", 8),
                "JSON として読めません"},
        Refusal{"VersionZero", edited([](json& d) { d["formatVersion"] = 0; }),
                "形式の版 0 は正しくありません"},
        Refusal{"NoInputs", edited([](json& d) { d.erase("inputs"); }), "「inputs」がありません"},
        Refusal{"InputsList", edited([](json& d) { d["inputs"] = json::array(); }),
                "「inputs」がオブジェクトではありません"},
        Refusal{"NoTurns", edited([](json& d) { d["inputs"].erase("turns"); }),
                "「inputs.turns」がありません"},
        Refusal{"TurnsAsNumber", edited([](json& d) { d["inputs"]["turns"] = 10; }),
                "「inputs.turns」が文字列ではありません"},
        Refusal{"NoFormer", edited([](json& d) { d.erase("former"); }), "「former」がありません"},
        Refusal{"UnknownFormer", edited([](json& d) { d["former"] = "oval"; }),
                "「former」は round"},
        Refusal{"NoMaterial", edited([](json& d) { d.erase("material"); }),
                "「material」がありません"},
        Refusal{"MaterialAsIndex", edited([](json& d) { d["material"] = 0; }),
                "「material」は copper"},
        Refusal{"FieldsAsText", edited([](json& d) { d["job"] = "x"; }),
                "「job」がオブジェクトではありません"},
        Refusal{"MemoAsList", edited([](json& d) { d["job"]["memo"] = json::array(); }),
                "「job.memo」が文字列ではありません"},
        Refusal{"TemperatureAsText", edited([](json& d) { d["job"]["workingTemperature"] = "75"; }),
                "「job.workingTemperature」が数ではありません"},
        Refusal{"TemperatureTooHot",
                edited([](json& d) { d["job"]["workingTemperature"] = 500.5; }),
                "「job.workingTemperature」: 使用温度は -200 °C から 500 °C まで"},
        Refusal{"SavedAtAsNumber", edited([](json& d) { d["savedAt"] = 20261208; }),
                "「savedAt」が文字列ではありません"},
        Refusal{"MemoTooLong", edited([](json& d) { d["job"]["memo"] = std::string(10001, 'x'); }),
                "「job.memo」が長すぎます（10000 文字まで）"},
        // Characters are counted, not bytes: 10,001 three-byte characters.
        Refusal{"CustomerTooLong", edited([](json& d) {
                  std::string s;
                  for (int i = 0; i < 10001; ++i) s += "あ";
                  d["job"]["customer"] = s;
                }),
                "「job.customer」が長すぎます"},
        Refusal{"InputTooLong",
                edited([](json& d) { d["inputs"]["bareDiameter"] = std::string(10001, '1'); }),
                "「inputs.bareDiameter」が長すぎます"},
        Refusal{"TooDeep", nested(16), "入れ子が深すぎます（16 段まで）"},
        Refusal{"FarTooDeep", std::string(500000, '['), "入れ子が深すぎます"},
        Refusal{"TooLarge", writeJob(test::designJob()) + std::string(kMaxFileBytes, ' '),
                "ファイルが大きすぎます（案件ファイルは 1 MiB まで）"},
        Refusal{"TermsAsText", edited([](json& d) { d["quotationTerms"] = "1800"; }),
                "「quotationTerms」がオブジェクトでも null でもありません"},
        Refusal{"TermsWithoutWirePrice", priced([](json& t) { t.erase("wireYenPerKg"); }),
                "「quotationTerms.wireYenPerKg」がありません"},
        Refusal{"UnknownWireMaterial", priced([](json& t) { t["wireMaterial"] = "silver"; }),
                "「quotationTerms.wireMaterial」は copper、aluminium、copperCladAluminium85"},
        Refusal{"PartNameAsNumber", priced([](json& t) { t["parts"][0]["name"] = 1; }),
                "「quotationTerms.parts[0].name」が文字列ではありません"},
        Refusal{"SixLots", priced([](json& t) { t["quantities"] = {1, 2, 3, 4, 5, 6}; }),
                "「quotationTerms.quantities」が多すぎます（5 個まで）"},
        Refusal{"LotOfNone", priced([](json& t) { t["quantities"][1] = 0; }),
                "「quotationTerms.quantities[1]」は 1 から 1000000000 までの整数です"},
        Refusal{"NegativeRevision", edited([](json& d) { d["job"]["revision"] = -1; }),
                "「job.revision」は 0 から 999 までの整数です"},
        Refusal{"ValidDaysFraction", edited([](json& d) { d["job"]["validDays"] = 30.5; }),
                "「job.validDays」は 0 から 3650 まで"},
        // A day the calendar lacks would be printed as today's.
        Refusal{"IssuedOnNoDay", edited([](json& d) { d["job"]["issuedOn"] = "2026-02-30"; }),
                "「job.issuedOn」が日付ではありません"},
        Refusal{"IssuedOnNoLeapYear", edited([](json& d) { d["job"]["issuedOn"] = "2100-02-29"; }),
                "「job.issuedOn」が日付ではありません"},
        Refusal{"IssuedOnSlashes", edited([](json& d) { d["job"]["issuedOn"] = "2026/12/08"; }),
                "「job.issuedOn」が日付ではありません"},
        Refusal{"SavedAtMonth13", edited([](json& d) { d["savedAt"] = "2026-13-01T00:00:00Z"; }),
                "「savedAt」が日時ではありません"},
        Refusal{"PriceListSavedAtWord",
                edited([](json& d) { d["priceListSavedAt"] = "yesterday"; }),
                "「priceListSavedAt」が日時ではありません"},
        // Version 3: the items, each named by its place in a message.
        Refusal{"NoItems", request([](json& d) { d.erase("items"); }), "「items」がありません"},
        Refusal{"IssuesNotArray", request([](json& d) { d["issues"] = json::object(); }),
                "「issues」が配列ではありません"},
        Refusal{"IssueRevisionNone", request([](json& d) { d["issues"][1]["revision"] = 0; }),
                "「issues[1].revision」は 1 から 999 までの整数です"},
        Refusal{"IssueNoDay", request([](json& d) { d["issues"][0]["validUntil"] = "2027-02-29"; }),
                "「issues[0].validUntil」が日付ではありません"},
        Refusal{"IssueWithoutLines",
                request([](json& d) { d["issues"][0]["lines"] = json::array(); }),
                "「issues[0].lines」は 1 から 100 行の配列です"},
        Refusal{"IssueNegativeAmount",
                request([](json& d) { d["issues"][1]["lines"][1]["amountYen"] = -1; }),
                "「issues[1].lines[1].amountYen」は 0 から"},
        Refusal{"IssueWithoutTotal", request([](json& d) { d["issues"][0].erase("totalYen"); }),
                "「issues[0].totalYen」がありません"},
        Refusal{"ItemsEmpty", request([](json& d) { d["items"] = json::array(); }),
                "「items」は品目を 1 つ以上並べた配列です"},
        Refusal{"TooManyItems", request([](json& d) {
                  const json one = d["items"][0];
                  d["items"] = json::array();
                  for (int i = 0; i < 101; ++i) d["items"].push_back(one);
                }),
                "「items」の品目が多すぎます（100 まで）"},
        Refusal{"ItemAsText", request([](json& d) { d["items"][1] = "KC-0043"; }),
                "「items[1]」がオブジェクトではありません"},
        Refusal{"ItemWithoutTurns",
                request([](json& d) { d["items"][2]["inputs"].erase("turns"); }),
                "「items[2].inputs.turns」がありません"},
        Refusal{"ItemFormerUnknown", request([](json& d) { d["items"][1]["former"] = "oval"; }),
                "「items[1].former」は round"},
        Refusal{"ItemTermsLotOfNone",
                request([](json& d) { d["items"][0]["quotationTerms"]["quantities"][0] = 0; }),
                "「items[0].quotationTerms.quantities[0]」は 1 から"},
        Refusal{"BasisBeyondTheLots", request([](json& d) { d["items"][1]["basisLot"] = 2; }),
                "「items[1].basisLot」は 0 から 1 までの整数です"},
        Refusal{"RequirementOfAnotherResult",
                request([](json& d) { d["items"][1]["requirements"][0]["result"] = "length"; }),
                "「items[1].requirements[0].result」は alignedHeight"},
        Refusal{"RequirementInAnotherUnit",
                request([](json& d) { d["items"][1]["requirements"][1]["unit"] = "Ω"; }),
                "「items[1].requirements[1].unit」は mg、g、kg のどれかです"},
        Refusal{"RequirementOfNothing",
                request([](json& d) { d["items"][2]["requirements"][0]["value"] = 0; }),
                "「items[2].requirements[0].value」は 0 より大きい数です"},
        Refusal{"RequirementTwice", request([](json& d) {
                  d["items"][1]["requirements"][1] = d["items"][1]["requirements"][0];
                }),
                "「items[1].requirements」に同じ結果が二度あります"},
        Refusal{"ToleranceBeyondWhole", request([](json& d) {
                  d["items"][2]["requirements"][0]["tolerancePercent"] = 150;
                }),
                "「items[2].requirements[0].tolerancePercent」は 0 から 100 までの数です"},
        // The windings over an item's first.
        Refusal{"WindingsNotArray", stacked([](json& w) { w = json::object(); }),
                "「items[0].windings」が配列ではありません"},
        Refusal{"NineWindings", stacked([](json& w) {
                  for (int i = 0; i < 6; ++i) w.push_back(w[0]);
                }),
                "「items[0].windings」の巻線が多すぎます（1つの巻枠に8巻線まで）"},
        Refusal{"WindingWithoutTurns", stacked([](json& w) { w[1]["inputs"].erase("turns"); }),
                "「items[0].windings[1].inputs.turns」がありません"},
        Refusal{"WindingOfNoMaterial", stacked([](json& w) { w[0]["material"] = "iron"; }),
                "「items[0].windings[0].material」は copper"},
        Refusal{"TapeLayersAsNumber", stacked([](json& w) { w[0]["insulation"]["layers"] = 2; }),
                "「items[0].windings[0].insulation.layers」が文字列ではありません"},
        Refusal{"WindingPriceNegative", stacked([](json& w) { w[1]["wireYenPerKg"] = -1; }),
                "「items[0].windings[1].wireYenPerKg」は 0 以上の数です"},
        Refusal{"Latin1", "{\"format\": \"kelvane-job\", \"x\": \"caf\xE9\"}",
                "UTF-8 の文字として読めないバイトがあります（36 バイト目）"},
        Refusal{"Overlong", "{\"a\": \"\xC0\xAF\"}", "（8 バイト目）"},
        Refusal{"Surrogate", "{\"a\": \"\xED\xA0\x80\"}", "（8 バイト目）"},
        Refusal{"BeyondUnicode", "{\"a\": \"\xF4\x90\x80\x80\"}", "（8 バイト目）"},
        Refusal{"CutCharacter", "{\"a\": \"\xE3\x81", "（8 バイト目）"},
        Refusal{"EscapedLoneSurrogate", R"({"format": "kelvane-job", "x": "\ud800"})",
                "JSON として読めません"}),
    [](const auto& info) { return info.param.name; });

struct Accepted {
  const char* name;
  std::string text;
  friend void PrintTo(const Accepted& a, std::ostream* os) { *os << a.name; }
};

class Accepts : public ::testing::TestWithParam<Accepted> {};

TEST_P(Accepts, ReadsTheDesignJob) {
  const Expected<Job> read = readJob(GetParam().text);
  ASSERT_TRUE(read) << read.message();
  EXPECT_EQ(only(*read).coil, only(test::designJob()).coil);
  EXPECT_EQ(read->fields.workingCelsius, 20);
}

INSTANTIATE_TEST_SUITE_P(
    ForwardAndOtherTools, Accepts,
    ::testing::Values(
        // Keys of a later version within the same format version are skipped.
        Accepted{"UnknownKeys", edited([](json& d) {
                   d["drawing"] = {{"scale", 2}, {"layers", {1, 2, 3}}};
                   d["inputs"]["wireGrade"] = "2種";
                   d["job"]["deliveryDate"] = "2027-01-31";
                 })},
        // A tool need not say who wrote the job, when, or for whom.
        Accepted{"OnlyWhatIsNeeded", edited([](json& d) {
                   d.erase("job");
                   d.erase("programVersion");
                   d.erase("savedAt");
                 })},
        // JSON counts 1.0 an integer; so does the job's schema.
        Accepted{"VersionWrittenAsFloat", edited([](json& d) { d["formatVersion"] = 1.0; })},
        Accepted{"VersionThreeItem", json::parse(writeJob(test::designJob())).dump()},
        Accepted{"LeapDay", edited([](json& d) {
                   d["job"]["issuedOn"] = "2028-02-29";
                   d["savedAt"] = "2000-02-29T23:59:60Z";
                 })},
        Accepted{"ByteOrderMark", "\xEF\xBB\xBF" + writeJob(test::designJob())},
        Accepted{"LongestText",
                 edited([](json& d) { d["job"]["memo"] = std::string(10000, 'x'); })},
        Accepted{"DeepestExtra", edited([](json& d) {
                   json v = json::array();
                   for (int i = 0; i < 14; ++i) v = json::array({v});
                   d["extra"] = v;  // 15 levels below the top
                 })},
        Accepted{"LargestFile",
                 [] {
                   std::string text = writeJob(test::designJob());
                   return text + std::string(kMaxFileBytes - text.size(), ' ');
                 }()}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace kelvane::job

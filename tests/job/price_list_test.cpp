// The user's price list: its text both ways, the terms a job takes from it,
// a missing file, which gives the built-in list, and a file that is there
// but cannot be read, which never does.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <functional>
#include <nlohmann/json.hpp>
#include <sstream>

#include "job/file_io.h"
#include "job/json_fields.h"
#include "job/output_file.h"
#include "job/platform_files.h"
#include "job/price_list.h"
#include "job_fixtures.h"

namespace kelvane::job {
namespace {

using nlohmann::json;
namespace fs = std::filesystem;

class PriceListRoundTrip : public ::testing::TestWithParam<test::NamedPriceList> {};

TEST_P(PriceListRoundTrip, ReadsBackWhatWasWritten) {
  const Expected<PriceList> read = readPriceList(writePriceList(GetParam().list));
  ASSERT_TRUE(read) << read.message();
  EXPECT_EQ(*read, GetParam().list);
}

INSTANTIATE_TEST_SUITE_P(Samples, PriceListRoundTrip, ::testing::ValuesIn(test::samplePriceLists()),
                         [](const auto& info) { return info.param.name; });

// The built-in list prices a coil of every material.
TEST(PriceList, BuiltInPricesEveryMaterial) {
  for (int m = 0; m < 3; ++m) {
    const QuotationTerms terms = termsFor(builtInPriceList(), static_cast<ConductorMaterial>(m));
    EXPECT_GT(terms.wireYenPerKg, 0);
    EXPECT_TRUE(priceCoil(0.01, 100, terms));
  }
}

// Whose wire price a coil is priced at: the job's terms only for the
// material they hold it for; every other figure stays the job's.
struct Pricing {
  const char* name;
  std::optional<ConductorMaterial> jobWire;  // the job's terms, for this material
  ConductorMaterial coil;
  bool listReadable;
  double wireYenPerKg;  // 0: refused, the list's failure passed on
  WirePriceSource from;
  friend void PrintTo(const Pricing& p, std::ostream* os) { *os << p.name; }
};

class PricingTermsRule : public ::testing::TestWithParam<Pricing> {};

TEST_P(PricingTermsRule, NeverPricesAMaterialAtAnothersPrice) {
  const Pricing& p = GetParam();
  PriceList list = builtInPriceList();
  list.wireYenPerKg = {2500, 900, 1300};
  std::optional<QuotationTerms> job;
  if (p.jobWire) {
    job = test::smallCoilTerms({100, 1000});
    job->wireYenPerKg = 1100;
    job->wireMaterial = *p.jobWire;
  }
  int asked = 0;
  const Expected<PricingTerms> priced = pricingTerms(job, p.coil, [&]() -> Expected<PriceList> {
    ++asked;
    if (!p.listReadable) return Failure{"単価表を読めません。"};
    return list;
  });
  if (p.wireYenPerKg == 0) {
    ASSERT_FALSE(priced);
    EXPECT_EQ(priced.message(), "単価表を読めません。");
    return;
  }
  ASSERT_TRUE(priced) << priced.message();
  EXPECT_EQ(priced->terms.wireYenPerKg, p.wireYenPerKg);
  EXPECT_EQ(priced->terms.wireMaterial, p.coil);
  EXPECT_EQ(priced->wirePriceFrom, p.from);
  EXPECT_EQ(asked, p.from == WirePriceSource::PriceList ? 1 : 0);
  // Apart from the wire, the job's terms, or the list's when it has none.
  QuotationTerms rest = priced->terms;
  rest.wireYenPerKg = 0;
  QuotationTerms expected = job ? *job : list.defaults;
  expected.wireYenPerKg = 0;
  expected.wireMaterial = p.coil;
  EXPECT_EQ(rest, expected);
}

constexpr auto kCu = ConductorMaterial::Copper;
constexpr auto kAl = ConductorMaterial::Aluminium;
constexpr auto kClad = ConductorMaterial::CopperCladAluminium85;

INSTANTIATE_TEST_SUITE_P(
    Rule, PricingTermsRule,
    ::testing::Values(
        Pricing{"NoTermsTakesTheList", std::nullopt, kCu, true, 2500, WirePriceSource::PriceList},
        Pricing{"OwnMaterialOwnPrice", kAl, kAl, true, 1100, WirePriceSource::JobTerms},
        Pricing{"OwnPriceNeedsNoList", kAl, kAl, false, 1100, WirePriceSource::JobTerms},
        Pricing{"AluminiumSwitchedToCopper", kAl, kCu, true, 2500, WirePriceSource::PriceList},
        Pricing{"CopperSwitchedToClad", kCu, kClad, true, 1300, WirePriceSource::PriceList},
        Pricing{"SwitchedWithoutAList", kAl, kCu, false, 0, WirePriceSource::PriceList},
        Pricing{"NoTermsWithoutAList", std::nullopt, kAl, false, 0, WirePriceSource::PriceList}),
    [](const auto& info) { return info.param.name; });

TEST(PriceList, ChangedSinceTheJobTookItsTerms) {
  PriceList list = builtInPriceList();
  list.savedAt = "2026-12-08T03:00:00Z";
  EXPECT_FALSE(pricesChangedSince(list, "2026-12-08T03:00:00Z"));
  EXPECT_TRUE(pricesChangedSince(list, "2026-12-01T09:00:00Z"));
  EXPECT_FALSE(pricesChangedSince(list, ""));  // typed terms
}

std::string edited(const std::function<void(json&)>& edit) {
  json doc = json::parse(writePriceList(test::samplePriceLists()[1].list));
  edit(doc);
  return doc.dump();
}

struct Damage {
  const char* name;
  std::string text;
  std::string says;
  friend void PrintTo(const Damage& d, std::ostream* os) { *os << d.name; }
};

class DamagedPriceList : public ::testing::TestWithParam<Damage> {};

TEST_P(DamagedPriceList, GivesOneMessage) {
  const Expected<PriceList> read = readPriceList(GetParam().text);
  ASSERT_FALSE(read);
  EXPECT_NE(read.message().find(GetParam().says), std::string::npos) << read.message();
}

INSTANTIATE_TEST_SUITE_P(
    BadFiles, DamagedPriceList,
    ::testing::Values(
        Damage{"AJob", R"({"format": "kelvane-job", "formatVersion": 1})",
               "Kelvane の単価表ではありません（「format」が「kelvane-prices」ではありません）"},
        Damage{"Newer", edited([](json& d) { d["formatVersion"] = 2; }),
               "新しい形式（版 2）の単価表です"},
        Damage{"NoWirePrices", edited([](json& d) { d.erase("wireYenPerKg"); }),
               "「wireYenPerKg」がありません"},
        Damage{"NoCopper", edited([](json& d) { d["wireYenPerKg"].erase("copper"); }),
               "「wireYenPerKg.copper」がありません"},
        Damage{"NegativeWire", edited([](json& d) { d["wireYenPerKg"]["aluminium"] = -1; }),
               "「wireYenPerKg.aluminium」が負の数です"},
        Damage{"NoTerms", edited([](json& d) { d.erase("terms"); }), "「terms」がありません"},
        Damage{"PartWithoutPrice",
               edited([](json& d) { d["terms"]["parts"][1].erase("yenPerPiece"); }),
               "「terms.parts[1].yenPerPiece」がありません"},
        Damage{"TwentyOneParts", edited([](json& d) {
                 d["terms"]["parts"] = json::array();
                 for (int i = 0; i < 21; ++i)
                   d["terms"]["parts"].push_back({{"name", "x"}, {"yenPerPiece", 1}});
               }),
               "「terms.parts」が多すぎます（20 個まで）"},
        Damage{"SixLots", edited([](json& d) { d["terms"]["quantities"] = {1, 2, 3, 4, 5, 6}; }),
               "「terms.quantities」が多すぎます（5 個まで）"},
        Damage{"FractionalLot", edited([](json& d) { d["terms"]["quantities"][2] = 2.5; }),
               "「terms.quantities[2]」は 1 から 1000000000 までの整数です"},
        Damage{"NoLot", edited([](json& d) { d["terms"]["quantities"] = json::array(); }),
               "単価表の「数量」がありません"},
        Damage{"StandingWinder", edited([](json& d) { d["terms"]["windingRpm"] = 0; }),
               "単価表の「巻線速度」が 0 では"},
        Damage{"NegativeProfit", edited([](json& d) { d["terms"]["profitPercent"] = -1; }),
               "単価表の「利益率」は 0 以上"}),
    [](const auto& info) { return info.param.name; });

class PriceListFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("kelvane-prices-test-" + std::to_string(::getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  fs::path dir_;
};

TEST_F(PriceListFiles, SavedListIsStampedAndLoadsAgain) {
  const fs::path file = dir_ / "prices.json";
  const auto noon = std::chrono::sys_days{std::chrono::year{2026} / 12 / 8} + std::chrono::hours{3};
  const Expected<PriceList> saved = savePriceListFile(file, test::samplePriceLists()[1].list, noon);
  ASSERT_TRUE(saved) << saved.message();
  EXPECT_EQ(saved->savedAt, "2026-12-08T03:00:00Z");
  const LoadedPriceList loaded = loadPriceList(file);
  EXPECT_EQ(loaded.problem, "");
  EXPECT_EQ(loaded.list, *saved);
}

// Either way the user is told once and prices with the built-in list.
TEST_F(PriceListFiles, MissingOrDamagedFileGivesTheBuiltInList) {
  const fs::path damaged = dir_ / "damaged.json";
  ASSERT_EQ(test::failureOf(writeFileAtomically(damaged, "{\"format\": \"kelvane-prices\", ")),
            std::nullopt);
  const fs::path directory = dir_ / "directory.json";
  fs::create_directory(directory);
  const std::pair<fs::path, std::string> cases[] = {
      {dir_ / "missing.json", "単価表「missing.json」がまだありません。組み込みの単価を使います。"},
      {damaged,
       "「damaged.json」を開けません。JSON として読めません（1 行目）。組み込みの単価を使います。"},
      {directory,
       "「directory.json」を開けません。通常のファイルではありません。組み込みの単価を使います。"},
      {dir_ / "dangling.json",
       "「dangling.json」を開けません。読み込めません（リンク先がありません）。組み込みの単価を使い"
       "ます。"}};
  fs::create_symlink(dir_ / "unmounted" / "prices.json", dir_ / "dangling.json");
  for (const auto& [file, message] : cases) {
    const LoadedPriceList loaded = loadPriceList(file);
    EXPECT_EQ(loaded.list, builtInPriceList()) << file;
    EXPECT_EQ(loaded.problem, message);
  }
}

// Only nothing at all at the name gives the built-in list. A share that is
// not mounted (a link to nowhere, the file's or its folder's), a folder that
// cannot be searched or a file that cannot be read is said, never priced
// with the built-in figures in its place. Root searches and reads anything,
// so those refusals are the platform's, as the system gives them to a user.
TEST_F(PriceListFiles, OnlyNothingThereGivesTheBuiltInList) {
  const PriceList mine = test::samplePriceLists()[1].list;
  fs::create_directory(dir_ / "real");
  ASSERT_EQ(
      test::failureOf(writeFileAtomically(dir_ / "real" / "prices.json", writePriceList(mine))),
      std::nullopt);
  ASSERT_EQ(test::failureOf(writeFileAtomically(dir_ / "damaged.json", "{\"format\": ")),
            std::nullopt);
  fs::create_directory(dir_ / "empty");
  fs::create_directory(dir_ / "locked");
  ASSERT_EQ(
      test::failureOf(writeFileAtomically(dir_ / "locked" / "prices.json", writePriceList(mine))),
      std::nullopt);
  fs::create_symlink(dir_ / "unmounted" / "prices.json", dir_ / "dangling.json");
  fs::create_directory_symlink(dir_ / "unmounted", dir_ / "share");
  fs::create_directory_symlink(dir_ / "real", dir_ / "mounted");
  fs::create_directory_symlink(dir_ / "empty", dir_ / "mountedEmpty");
  fs::create_symlink(dir_ / "real" / "prices.json", dir_ / "linked.json");
  platform::testing::refuseSearching(dir_ / "locked", true);
  ASSERT_EQ(test::failureOf(writeFileAtomically(dir_ / "unreadable.json", writePriceList(mine))),
            std::nullopt);
  platform::testing::refuseReading(dir_ / "unreadable.json", EACCES);
  const struct {
    fs::path file;
    std::optional<PriceList> list;
    std::string says;  // the start of the failure
  } cases[] = {
      {dir_ / "missing.json", builtInPriceList(), ""},
      {dir_ / "none" / "deeper" / "prices.json", builtInPriceList(), ""},
      {dir_ / "mountedEmpty" / "prices.json", builtInPriceList(), ""},
      {dir_ / "real" / "prices.json", mine, ""},
      {dir_ / "mounted" / "prices.json", mine, ""},
      {dir_ / "linked.json", mine, ""},
      {dir_ / "dangling.json", std::nullopt,
       "「dangling.json」を開けません。読み込めません（リンク先がありません）。"},
      {dir_ / "share" / "prices.json", std::nullopt,
       "「prices.json」を開けません。読み込めません（フォルダー「" + (dir_ / "share").string() +
           "」のリンク先がありません）。"},
      {dir_ / "share" / "kelvane" / "prices.json", std::nullopt,
       "「prices.json」を開けません。読み込めません（フォルダー「" + (dir_ / "share").string() +
           "」のリンク先がありません）。"},
      {dir_ / "locked" / "prices.json", std::nullopt,
       "「prices.json」を開けません。読み込めません（権限がありません）。"},
      {dir_ / "locked" / "none" / "prices.json", std::nullopt,
       "「prices.json」を開けません。読み込めません（権限がありません）。"},
      {dir_ / "unreadable.json", std::nullopt,
       "「unreadable.json」を開けません。読み込めません（権限がありません）。"},
      {dir_ / "damaged.json", std::nullopt, "「damaged.json」を開けません。JSON として読めません"},
      {dir_ / "empty", std::nullopt, "「empty」を開けません。通常のファイルではありません。"},
  };
  for (const auto& c : cases) {
    const Expected<PriceList> read = readUserPriceListFile(c.file);
    if (c.list) {
      EXPECT_TRUE(read && *read == *c.list) << c.file << ": " << read.message();
    } else {
      ASSERT_FALSE(read) << c.file;
      EXPECT_EQ(read.message().rfind(c.says, 0), 0u) << read.message();
    }
  }
  platform::testing::refuseSearching(dir_ / "locked", false);
  platform::testing::refuseReading(dir_ / "unreadable.json", 0);
}

std::string contents(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// A file that holds no list is kept whole as prices.json.bak before a list
// is saved over it, replacing an older .bak; a list, or no file, is simply
// replaced.
TEST_F(PriceListFiles, WhatHoldsNoListIsKeptBeforeSaving) {
  const auto noon = std::chrono::sys_days{std::chrono::year{2026} / 12 / 8} + std::chrono::hours{3};
  const PriceList list = test::samplePriceLists()[1].list;
  const std::string huge =
      R"({"format": "kelvane-prices", "note": ")" + std::string(kMaxFileBytes + 70000, 'x') + "\"}";
  const struct {
    const char* name;
    std::optional<std::string> before;  // the file's bytes; none: no file
    std::optional<std::string> kept;    // prices.json.bak afterwards; none: no such file
  } cases[] = {
      {"no file", std::nullopt, std::nullopt},
      {"a list", writePriceList(builtInPriceList()), std::nullopt},
      {"cut short", R"({"format": "kelvane-prices", "wire)",
       R"({"format": "kelvane-prices", "wire)"},
      {"a job", R"({"format": "kelvane-job", "formatVersion": 1})",
       R"({"format": "kelvane-job", "formatVersion": 1})"},
      {"empty", "", ""},
      {"too large", huge, huge},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    const fs::path file = dir_ / "prices.json";
    const fs::path bak = dir_ / "prices.json.bak";
    std::ofstream(bak) << "an older backup";
    if (c.before) std::ofstream(file, std::ios::binary) << *c.before;
    const Expected<PriceList> saved = savePriceListFile(file, list, noon);
    ASSERT_TRUE(saved) << saved.message();
    EXPECT_EQ(readPriceListFile(file).value(), *saved);
    EXPECT_EQ(contents(bak), c.kept.value_or("an older backup"));
  }
}

// A damaged list that cannot be kept is not replaced.
TEST_F(PriceListFiles, DamagedListThatCannotBeKeptIsNotReplaced) {
  const fs::path file = dir_ / "prices.json";
  std::ofstream(file) << "{\"format\": ";
  fs::create_directory(dir_ / "prices.json.bak");
  const Expected<PriceList> saved =
      savePriceListFile(file, builtInPriceList(), std::chrono::system_clock::now());
  ASSERT_FALSE(saved);
  EXPECT_EQ(saved.message(),
            "「prices.json.bak」を保存できません（フォルダーです）。読めない単価表「prices.json」を"
            "残せないので、新しい単価表は保存していません。");
  EXPECT_EQ(contents(file), "{\"format\": ");
}

}  // namespace
}  // namespace kelvane::job

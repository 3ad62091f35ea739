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

constexpr auto kCu = ConductorMaterial::Copper;
constexpr auto kAl = ConductorMaterial::Aluminium;
constexpr auto kClad = ConductorMaterial::CopperCladAluminium85;

class PriceListRoundTrip : public ::testing::TestWithParam<test::NamedPriceList> {};

TEST_P(PriceListRoundTrip, ReadsBackWhatWasWritten) {
  const Expected<PriceList> read = readPriceList(writePriceList(GetParam().list));
  ASSERT_TRUE(read) << read.message();
  EXPECT_EQ(*read, GetParam().list);
}

// A list of the first version, one price a material, reads as one row a
// material covering every diameter; saved again, it is of the version now.
TEST(PriceList, FirstVersionReadsAsOneRowAMaterial) {
  const std::string v1 = R"({"format": "kelvane-prices", "formatVersion": 1,
    "savedAt": "2026-11-01T09:00:00Z",
    "wireYenPerKg": {"copper": 2500, "aluminium": 900, "copperCladAluminium85": 1300.5},
    "terms": {"lossPercent": 3, "windingRpm": 1000, "handlingMinutes": 1, "setupMinutes": 30,
              "labourYenPerHour": 3000, "overheadPercent": 10, "profitPercent": 15,
              "parts": [], "quantities": [100, 1000]}})";
  const Expected<PriceList> read = readPriceList(v1);
  ASSERT_TRUE(read) << read.message();
  EXPECT_EQ(read->wirePrices, (std::vector<WirePriceRow>{{kCu, 0, std::nullopt, 2500},
                                                         {kAl, 0, std::nullopt, 900},
                                                         {kClad, 0, std::nullopt, 1300.5}}));
  EXPECT_EQ(read->savedAt, "2026-11-01T09:00:00Z");
  EXPECT_EQ(termsFor(*read, kCu, 0.25)->wireYenPerKg, 2500);
  EXPECT_EQ(termsFor(*read, kCu, std::nullopt)->wireYenPerKg, 2500);
  EXPECT_EQ(json::parse(writePriceList(*read))["formatVersion"], 2);
}

INSTANTIATE_TEST_SUITE_P(Samples, PriceListRoundTrip, ::testing::ValuesIn(test::samplePriceLists()),
                         [](const auto& info) { return info.param.name; });

// The built-in list prices a coil of every material at any diameter, and
// thin copper dearer than thick.
TEST(PriceList, BuiltInPricesEveryMaterial) {
  for (int m = 0; m < 3; ++m) {
    for (const std::optional<double> d : {std::optional<double>(0.05), std::optional<double>(0.2),
                                          std::optional<double>(2.0), std::optional<double>()}) {
      const Expected<QuotationTerms> terms =
          termsFor(builtInPriceList(), static_cast<ConductorMaterial>(m), d);
      ASSERT_TRUE(terms || (m == 0 && !d)) << m << " " << d.value_or(-1);
      if (!terms) continue;
      EXPECT_GT(terms->wireYenPerKg, 0);
      EXPECT_TRUE(priceCoil(0.01, 100, *terms));
    }
  }
  const auto copper = [](double d) {
    return termsFor(builtInPriceList(), ConductorMaterial::Copper, d)->wireYenPerKg;
  };
  EXPECT_GT(copper(0.05), copper(0.2));
  EXPECT_GT(copper(0.2), copper(1.2));
  EXPECT_EQ(copper(0.2), 1800);  // the price of the coil the window opens with
}

// A list as a workshop buys wire: copper by size, aluminium at one price,
// no copper-clad aluminium.
PriceList bySize() {
  PriceList list = builtInPriceList();
  list.wirePrices = {{ConductorMaterial::Copper, 0.1, 0.2, 3300},
                     {ConductorMaterial::Copper, 0.2, 0.3, 2800},
                     {ConductorMaterial::Copper, 0.3, 1.0, 2100},
                     {ConductorMaterial::Copper, 1.0, std::nullopt, 1950},
                     {ConductorMaterial::Aluminium, 0, std::nullopt, 900}};
  return list;
}

// Which row a wire takes: the start of a row is in it, its end in the next.
struct RowCase {
  const char* name;
  ConductorMaterial material;
  std::optional<double> diameter;
  double yenPerKg;  // 0: refused
  std::optional<double> from, to;
  const char* says = "";
  friend void PrintTo(const RowCase& c, std::ostream* os) { *os << c.name; }
};

class WirePriceByDiameter : public ::testing::TestWithParam<RowCase> {};

TEST_P(WirePriceByDiameter, TakesTheRowTheWireIsIn) {
  const RowCase& c = GetParam();
  const Expected<QuotationTerms> terms = termsFor(bySize(), c.material, c.diameter);
  if (c.yenPerKg == 0) {
    ASSERT_FALSE(terms);
    EXPECT_EQ(terms.message(), c.says);
    return;
  }
  ASSERT_TRUE(terms) << terms.message();
  EXPECT_EQ(terms->wireYenPerKg, c.yenPerKg);
  EXPECT_EQ(terms->wireMaterial, c.material);
  EXPECT_EQ(terms->wireDiameterFromMm, c.from);
  EXPECT_EQ(terms->wireDiameterToMm, c.to);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, WirePriceByDiameter,
    ::testing::Values(
        RowCase{"Copper025", kCu, 0.25, 2800, 0.2, 0.3},
        RowCase{"Copper12", kCu, 1.2, 1950, 1.0, std::nullopt},
        RowCase{"StartOfARowIsInIt", kCu, 0.3, 2100, 0.3, 1.0},
        RowCase{"JustBelowTheEnd", kCu, 0.2999, 2800, 0.2, 0.3},
        RowCase{"OneRowForEverySize", kAl, 0.25, 900, 0.0, std::nullopt},
        RowCase{"UnknownDiameterTakesTheRowOfEverySize", kAl, std::nullopt, 900, 0.0, std::nullopt},
        RowCase{"BelowTheThinnestRow",
                kCu,
                0.05,
                0,
                {},
                {},
                "単価表に素線径 0.05 mm の銅線の線材単価がありません。単価表に行を加えるか、"
                "見積条件に線材単価を入力してください。"},
        RowCase{"UnknownDiameterWithoutARowOfEverySize",
                kCu,
                std::nullopt,
                0,
                {},
                {},
                "素線径(d)が読めないため、線材単価が決まりません（単価表に全線径の銅線の行があり"
                "ません）。素線径を入力するか、見積条件に線材単価を入力してください。"},
        RowCase{"NoRowOfTheMaterial",
                kClad,
                0.25,
                0,
                {},
                {},
                "単価表に素線径 0.25 mm の銅クラッドアルミニュウム(85%)の線材単価がありません。"
                "単価表に行を加えるか、見積条件に線材単価を入力してください。"}),
    [](const auto& info) { return info.param.name; });

// The diameter of a coil as its box is typed; none when it cannot price.
TEST(PriceList, BareDiameterAsThePressReadsIt) {
  const std::pair<const char*, std::optional<double>> cases[] = {
      {"0.25", 0.25},      {"０．２５ｍｍ", 0.25}, {" 1.2 mm", 1.2},       {"", std::nullopt},
      {"0", std::nullopt}, {"-0.2", std::nullopt}, {"φ0.2", std::nullopt}, {"0,2", std::nullopt}};
  for (const auto& [text, mm] : cases) {
    TypedCoil coil = openingCoil();
    coil.texts[indexOf(InputBox::BareDiameter)] = text;
    EXPECT_EQ(bareDiameterMm(coil), mm) << text;
  }
}

// Whose wire price a coil is priced at: the job's terms only for the
// material they hold it for, and only while the coil's wire is in the row
// they took it from; every other figure stays the job's.
struct Pricing {
  const char* name;
  std::optional<ConductorMaterial> jobWire;  // the job's terms, for this material
  ConductorMaterial coil;
  bool listReadable;
  double wireYenPerKg;  // 0: refused, the list's failure passed on
  WirePriceSource from;
  // The row the job's price was taken from (none: typed), and the coil's wire.
  std::optional<std::pair<double, double>> jobRow = std::nullopt;
  std::optional<double> diameter = 0.25;
  friend void PrintTo(const Pricing& p, std::ostream* os) { *os << p.name; }
};

class PricingTermsRule : public ::testing::TestWithParam<Pricing> {};

TEST_P(PricingTermsRule, NeverPricesAMaterialAtAnothersPrice) {
  const Pricing& p = GetParam();
  PriceList list = bySize();
  list.wirePrices.push_back({kClad, 0, std::nullopt, 1300});
  std::optional<QuotationTerms> job;
  if (p.jobWire) {
    job = test::smallCoilTerms({100, 1000});
    job->wireYenPerKg = 1100;
    job->wireMaterial = *p.jobWire;
    if (p.jobRow) std::tie(job->wireDiameterFromMm, job->wireDiameterToMm) = *p.jobRow;
  }
  int asked = 0;
  const Expected<PricingTerms> priced =
      pricingTerms(job, p.coil, p.diameter, [&]() -> Expected<PriceList> {
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
  // Apart from the wire, the job's terms, or the list's when it has none;
  // a price from the list names its row.
  if (p.from == WirePriceSource::PriceList) {
    const QuotationTerms row = termsFor(list, p.coil, p.diameter).value();
    EXPECT_EQ(priced->terms.wireDiameterFromMm, row.wireDiameterFromMm);
    EXPECT_EQ(priced->terms.wireDiameterToMm, row.wireDiameterToMm);
  }
  QuotationTerms rest = priced->terms;
  rest.wireYenPerKg = 0;
  rest.wireDiameterFromMm = rest.wireDiameterToMm = std::nullopt;
  QuotationTerms expected = job ? *job : list.defaults;
  expected.wireYenPerKg = 0;
  expected.wireMaterial = p.coil;
  expected.wireDiameterFromMm = expected.wireDiameterToMm = std::nullopt;
  EXPECT_EQ(rest, expected);
}

constexpr std::pair<double, double> kRow0203{0.2, 0.3};

INSTANTIATE_TEST_SUITE_P(
    Rule, PricingTermsRule,
    ::testing::Values(
        Pricing{"NoTermsTakesTheList", std::nullopt, kCu, true, 2800, WirePriceSource::PriceList},
        Pricing{"OwnMaterialOwnPrice", kAl, kAl, true, 1100, WirePriceSource::JobTerms},
        Pricing{"OwnPriceNeedsNoList", kAl, kAl, false, 1100, WirePriceSource::JobTerms},
        Pricing{"AluminiumSwitchedToCopper", kAl, kCu, true, 2800, WirePriceSource::PriceList},
        Pricing{"CopperSwitchedToClad", kCu, kClad, true, 1300, WirePriceSource::PriceList},
        Pricing{"SwitchedWithoutAList", kAl, kCu, false, 0, WirePriceSource::PriceList},
        Pricing{"NoTermsWithoutAList", std::nullopt, kAl, false, 0, WirePriceSource::PriceList},
        Pricing{"StillInItsRow", kCu, kCu, false, 1100, WirePriceSource::JobTerms, kRow0203},
        Pricing{"MovedToAThickerRow", kCu, kCu, true, 1950, WirePriceSource::PriceList, kRow0203,
                1.2},
        Pricing{"MovedToTheEndOfItsRow", kCu, kCu, true, 2100, WirePriceSource::PriceList, kRow0203,
                0.3},
        Pricing{"TypedPriceStaysAtAnyDiameter", kCu, kCu, false, 1100, WirePriceSource::JobTerms,
                std::nullopt, 1.2},
        Pricing{"UnknownDiameterKeepsTheRow", kCu, kCu, false, 1100, WirePriceSource::JobTerms,
                kRow0203, std::nullopt}),
    [](const auto& info) { return info.param.name; });

// The rule's own refusal: the list has no price for the wire.
TEST(PriceList, NoRowForTheWireIsTheRulesFailure) {
  const Expected<PricingTerms> priced = pricingTerms(std::nullopt, kCu, 0.05, bySize());
  ASSERT_FALSE(priced);
  EXPECT_NE(priced.message().find("素線径 0.05 mm の銅線の線材単価がありません"),
            std::string::npos);
}

// How the 見積 pane names the row a price was taken from.
TEST(PriceList, DiametersOfARow) {
  EXPECT_EQ(wireDiametersText(0.2, 0.3), "φ0.20〜0.30 mm");
  EXPECT_EQ(wireDiametersText(0.125, 1), "φ0.125〜1.00 mm");
  EXPECT_EQ(wireDiametersText(1, std::nullopt), "φ1.00 mm〜");
  EXPECT_EQ(wireDiametersText(0, 0.1), "φ0.10 mm 未満");
  EXPECT_EQ(wireDiametersText(0, std::nullopt), "");
}

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
        Damage{"Newer", edited([](json& d) { d["formatVersion"] = 3; }),
               "新しい形式（版 3）の単価表です"},
        Damage{"NoWirePrices", edited([](json& d) { d.erase("wirePrices"); }),
               "「wirePrices」がありません"},
        Damage{"RowWithoutMaterial", edited([](json& d) { d["wirePrices"][1].erase("material"); }),
               "「wirePrices[1].material」がありません"},
        Damage{
            "UnknownMaterial", edited([](json& d) { d["wirePrices"][1]["material"] = "gold"; }),
            "「wirePrices[1].material」は copper、aluminium、copperCladAluminium85 のどれかです"},
        Damage{"DiameterAsText", edited([](json& d) { d["wirePrices"][2]["toMm"] = "1.0"; }),
               "「wirePrices[2].toMm」が数ではありません"},
        Damage{"NegativeWire", edited([](json& d) { d["wirePrices"][3]["yenPerKg"] = -1; }),
               "「wirePrices[3]」の線材単価は 0 以上の数です"},
        Damage{"NegativeDiameter", edited([](json& d) { d["wirePrices"][0]["fromMm"] = -0.1; }),
               "「wirePrices[0]」の線径（から）は 0 以上の数です"},
        Damage{"EmptyRange", edited([](json& d) { d["wirePrices"][1]["toMm"] = 0.2; }),
               "「wirePrices[1]」の線径（まで）が線径（から）より大きくありません"},
        Damage{"Overlapping", edited([](json& d) { d["wirePrices"][2]["fromMm"] = 0.9; }),
               "「wirePrices[2]」の線径の範囲が「wirePrices[1]」と重なっています（銅線）"},
        Damage{"OpenRowOverlapsALaterOne", edited([](json& d) {
                 d["wirePrices"].push_back(
                     {{"material", "copper"}, {"fromMm", 5}, {"toMm", 6}, {"yenPerKg", 1}});
               }),
               "「wirePrices[5]」の線径の範囲が「wirePrices[2]」と重なっています（銅線）"},
        Damage{"TwoHundredAndOneRows", edited([](json& d) {
                 d["wirePrices"] = json::array();
                 for (int i = 0; i < 201; ++i)
                   d["wirePrices"].push_back(
                       {{"material", "copper"}, {"fromMm", i}, {"toMm", i + 1}, {"yenPerKg", 1}});
               }),
               "「wirePrices」が多すぎます（200 行まで）"},
        Damage{"OldVersionWithoutItsPrices", edited([](json& d) { d["formatVersion"] = 1; }),
               "「wireYenPerKg」がありません"},
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

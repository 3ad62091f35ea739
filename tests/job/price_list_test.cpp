// The user's price list: its text both ways, the terms a job takes from it,
// and a missing or damaged file, which falls back on the built-in list.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <nlohmann/json.hpp>

#include "job/file_io.h"
#include "job/output_file.h"
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

// The built-in list prices a coil, and its file keeps these keys.
TEST(PriceList, BuiltInAsWritten) {
  EXPECT_TRUE(priceCoil(0.01, 100, termsFor(builtInPriceList(), ConductorMaterial::Copper)));
  EXPECT_EQ(writePriceList(builtInPriceList()), R"({
  "format": "kelvane-prices",
  "formatVersion": 1,
  "savedAt": "",
  "wireYenPerKg": {
    "copper": 1800.0,
    "aluminium": 900.0,
    "copperCladAluminium85": 1300.0
  },
  "terms": {
    "lossPercent": 3.0,
    "windingRpm": 1000.0,
    "handlingMinutes": 1.0,
    "setupMinutes": 30.0,
    "labourYenPerHour": 3000.0,
    "overheadPercent": 10.0,
    "profitPercent": 15.0,
    "parts": [],
    "quantities": [
      100,
      1000,
      10000
    ]
  }
}
)");
}

TEST(PriceList, TermsTakeTheMaterialsWirePrice) {
  const PriceList list = test::samplePriceLists()[1].list;
  for (const auto& [material, yen] :
       {std::pair{ConductorMaterial::Copper, 2150.5}, std::pair{ConductorMaterial::Aluminium, 0.0},
        std::pair{ConductorMaterial::CopperCladAluminium85, 1333.25}}) {
    QuotationTerms expected = list.defaults;
    expected.wireYenPerKg = yen;
    EXPECT_EQ(termsFor(list, material), expected);
  }
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
        Damage{"Empty", "", "JSON として読めません（1 行目）"},
        Damage{"CutShort", writePriceList(builtInPriceList()).substr(0, 120),
               "JSON として読めません"},
        Damage{"AJob", R"({"format": "kelvane-job", "formatVersion": 1})",
               "Kelvane の単価表ではありません（「format」が「kelvane-prices」ではありません）"},
        Damage{"Newer", edited([](json& d) { d["formatVersion"] = 2; }),
               "新しい形式（版 2）の単価表です"},
        Damage{"Latin1", "{\"format\": \"caf\xE9\"}", "UTF-8 の文字として読めないバイト"},
        Damage{"NoWirePrices", edited([](json& d) { d.erase("wireYenPerKg"); }),
               "「wireYenPerKg」がありません"},
        Damage{"NoCopper", edited([](json& d) { d["wireYenPerKg"].erase("copper"); }),
               "「wireYenPerKg.copper」がありません"},
        Damage{"NegativeWire", edited([](json& d) { d["wireYenPerKg"]["aluminium"] = -1; }),
               "「wireYenPerKg.aluminium」が負の数です"},
        Damage{"NoTerms", edited([](json& d) { d.erase("terms"); }), "「terms」がありません"},
        Damage{"RateAsText", edited([](json& d) { d["terms"]["labourYenPerHour"] = "3000"; }),
               "「terms.labourYenPerHour」が数ではありません"},
        Damage{"PartsAsObject", edited([](json& d) { d["terms"]["parts"] = json::object(); }),
               "「terms.parts」が配列ではありません"},
        Damage{"PartWithoutPrice",
               edited([](json& d) { d["terms"]["parts"][1].erase("yenPerPiece"); }),
               "「terms.parts[1].yenPerPiece」がありません"},
        Damage{"PartNameTooLong",
               edited([](json& d) { d["terms"]["parts"][0]["name"] = std::string(10001, 'x'); }),
               "「terms.parts[0].name」が長すぎます"},
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
        Damage{"LotBeyondEveryInteger",
               edited([](json& d) { d["terms"]["quantities"][0] = 18446744073709551615u; }),
               "「terms.quantities[0]」は 1 から"},
        // Readable, but no quotation could be priced from it.
        Damage{"NoLot", edited([](json& d) { d["terms"]["quantities"] = json::array(); }),
               "単価表の「数量」がありません"},
        Damage{"StandingWinder", edited([](json& d) { d["terms"]["windingRpm"] = 0; }),
               "単価表の「巻線速度」が 0 では"},
        Damage{"NegativeProfit", edited([](json& d) { d["terms"]["profitPercent"] = -1; }),
               "単価表の「利益率」は 0 以上"}),
    [](const auto& info) { return info.param.name; });

// Whole lots written as fractions, as other JSON writers may, are whole.
TEST(PriceList, LotWrittenAsFloatIsWhole) {
  const Expected<PriceList> read = readPriceList(edited([](json& d) {
    d["terms"]["quantities"] = {100.0, 1e3};
  }));
  ASSERT_TRUE(read) << read.message();
  EXPECT_EQ(read->defaults.quantities, (std::vector<std::int64_t>{100, 1000}));
}

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
  ASSERT_EQ(writeFileAtomically(damaged, "{\"format\": \"kelvane-prices\", "), std::nullopt);
  const fs::path directory = dir_ / "directory.json";
  fs::create_directory(directory);
  const std::pair<fs::path, std::string> cases[] = {
      {dir_ / "missing.json", "単価表「missing.json」がまだありません。組み込みの単価を使います。"},
      {damaged,
       "「damaged.json」を開けません。JSON として読めません（1 行目）。組み込みの単価を使います。"},
      {directory,
       "「directory.json」を開けません。通常のファイルではありません。組み込みの単価を使います。"}};
  for (const auto& [file, message] : cases) {
    const LoadedPriceList loaded = loadPriceList(file);
    EXPECT_EQ(loaded.list, builtInPriceList()) << file;
    EXPECT_EQ(loaded.problem, message);
  }
}

}  // namespace
}  // namespace kelvane::job

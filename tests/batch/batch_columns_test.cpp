// The output a person reads: a column for each quantity in one unit, plain
// numbers, the header's names checked, the job's fields and the resistance at
// the working temperature.
#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <random>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "batch_test_support.h"
#include "core/materials.h"
#include "core/temperature_resistance.h"
#include "core/weight_resistance.h"
#include "form/form_job.h"
#include "job/results_table.h"
#include "tests/job/job_fixtures.h"
#include "tools/batch/batch.h"
#include "tools/batch/batch_results.h"
#include "wiredata/standard_resistance.h"

namespace kelvane::batch {
namespace {

using form::ResultBox;

std::string join(const std::vector<std::string>& cells) {
  std::string line;
  for (std::size_t i = 0; i < cells.size(); ++i) line += (i > 0 ? "," : "") + cells[i];
  return line;
}

double number(std::string text) {
  std::erase(text, ',');
  return std::stod(text);
}

int decimalsOf(const std::string& text) {
  const std::size_t point = text.find('.');
  return point == std::string::npos ? 0 : static_cast<int>(text.size() - point - 1);
}

int significantDigits(const std::string& text) {
  const std::size_t first = text.find_first_of("123456789");
  if (first == std::string::npos) return 0;
  int digits = 0;
  for (std::size_t i = first; i < text.size(); ++i) digits += text[i] != '.';
  return digits;
}

TEST(BatchColumns, OneColumnForEachQuantityNamedAsInTheResultsTable) {
  EXPECT_EQ(join(readableColumns(false)),
            "巻き方(列),層数,厚み [mm],最終層　巻き列,A' [mm],B' [mm],D' [mm],R' [mm],"
            "整列部巻高 [mm],全長 整列 [m],全長 予測 [m],重量 整列 [g],重量 予測 [g],"
            "DCR 整列 [Ω],DCR 予測 [Ω],"
            "規格DCR最小 整列 [Ω],規格DCR最小 予測 [Ω],規格DCR公称 整列 [Ω],規格DCR公称 予測 [Ω],"
            "規格DCR最大 整列 [Ω],規格DCR最大 予測 [Ω],"
            "クロス部巻高 整列 [mm],クロス部巻高 予測 [mm],"
            "絶縁部重量 整列 [g],絶縁部重量 予測 [g],導体部重量 整列 [g],導体部重量 予測 [g]");
  EXPECT_EQ(join(readableColumns(true)),
            "巻き方(列),層数,厚み [mm],最終層　巻き列,A' [mm],B' [mm],D' [mm],R' [mm],"
            "整列部巻高 [mm],全長 整列 [m],全長 予測 [m],重量 整列 [g],重量 予測 [g],"
            "DCR 整列 [Ω],DCR 予測 [Ω],DCR 整列 (使用温度) [Ω],DCR 予測 (使用温度) [Ω],"
            "規格DCR最小 整列 [Ω],規格DCR最小 予測 [Ω],規格DCR公称 整列 [Ω],規格DCR公称 予測 [Ω],"
            "規格DCR最大 整列 [Ω],規格DCR最大 予測 [Ω],"
            "クロス部巻高 整列 [mm],クロス部巻高 予測 [mm],"
            "絶縁部重量 整列 [g],絶縁部重量 予測 [g],導体部重量 整列 [g],導体部重量 予測 [g]");
  // Every quantity is one the results table names, for one former or another.
  std::set<std::string> items;
  for (const FormerShape former :
       {FormerShape::Round, FormerShape::Rectangular, FormerShape::Fan}) {
    job::Job job;
    only(job).coil.texts = form::Form1().state().inputTexts;
    only(job).coil.former = former;
    form::Form1 form;
    form::applyJob(job, form);
    for (const job::TableRow& row : job::resultsTable(form::shownCoil(form), 20).results)
      items.insert(row.item);
  }
  for (const std::string& column : readableColumns(false)) {
    const std::string name = column.substr(0, column.find_first_of(" ["));
    EXPECT_TRUE(std::any_of(items.begin(), items.end(), [&](const std::string& item) {
      return item.starts_with(name);
    })) << column;
  }
}

// What a readable column holds: the box it is written from, and the unit
// the window writes that box in.
enum class Shown { Text, Count, Plain, Millimetres, Length, Mass, Resistance, Band };
struct ColumnSource {
  ResultBox box;  // for a figure of the band, the DCR box it stands beside
  Shown shown;
  int onlyForFormer = -1;
};
const ColumnSource kSources[] = {
    {ResultBox::Arrangement, Shown::Text},
    {ResultBox::LayerCount, Shown::Count},
    {ResultBox::Thickness, Shown::Plain},
    {ResultBox::LastLayerTurns, Shown::Count},
    {ResultBox::OuterA, Shown::Millimetres},
    {ResultBox::OuterB, Shown::Millimetres},
    {ResultBox::OuterRorD, Shown::Millimetres, 0},
    {ResultBox::OuterRorD, Shown::Millimetres, 2},
    {ResultBox::AlignedHeight, Shown::Millimetres},
    {ResultBox::AlignedLength, Shown::Length},
    {ResultBox::PredictedLength, Shown::Length},
    {ResultBox::AlignedWeight, Shown::Mass},
    {ResultBox::PredictedWeight, Shown::Mass},
    // DCR 整列 is the resistance of the aligned length, which the window
    // shows under 予測 Mid; DCR 予測 the one it shows under Max.
    {ResultBox::AlignedDcr, Shown::Resistance},
    {ResultBox::PredictedDcr, Shown::Resistance},
    // The standard's band: 最小, 公称, 最大, each 整列 then 予測.
    {ResultBox::AlignedDcr, Shown::Band},
    {ResultBox::PredictedDcr, Shown::Band},
    {ResultBox::AlignedDcr, Shown::Band},
    {ResultBox::PredictedDcr, Shown::Band},
    {ResultBox::AlignedDcr, Shown::Band},
    {ResultBox::PredictedDcr, Shown::Band},
    {ResultBox::CrossHeight, Shown::Millimetres},
    {ResultBox::FullHeight, Shown::Millimetres},
    {ResultBox::AlignedInsulationWeight, Shown::Mass},
    {ResultBox::PredictedInsulationWeight, Shown::Mass},
    {ResultBox::AlignedConductorWeight, Shown::Mass},
    {ResultBox::PredictedConductorWeight, Shown::Mass},
};

// The window's unit of a box in the column's: how many of the column's units
// one of the window's is, from the caption the press wrote.
double windowUnitInColumnUnit(Shown shown, const form::FormState& s) {
  const auto unit = [&](form::Caption row) {
    const std::string& caption = s.caption(row);
    return caption.substr(caption.find(' ') + 1);
  };
  if (shown == Shown::Length) {
    const std::string u = unit(form::Caption::LengthUnit);
    return u == "mm" ? 0.001 : u == "m" ? 1 : 1000;
  }
  if (shown == Shown::Mass) {
    const std::string u = unit(form::Caption::WeightUnit);
    return u == "mg" ? 0.001 : u == "g" ? 1 : 1000;
  }
  if (shown == Shown::Resistance) return unit(form::Caption::ResistanceUnit) == "Ω" ? 1 : 1000;
  return 1;
}

// Coils of every former and material, small enough for mm and mg, typical
// (m, g) and large enough for Km, Kg and KΩ: each column in one unit in
// every row, its number the box's number in that unit to at least the
// decimals the window shows, six significant digits, and a result the window
// hides for the former empty. The standard's band beside the DCR is in Ω
// too.
TEST(BatchColumns, EveryFormerAndMaterialInOneUnitPerColumn) {
  struct Size {
    const char* bare;
    const char* finished;
    const char* turns;
  };
  const Size sizes[] = {{"0.05", "0.06", "5"},
                        {"0.3", "0.32", "300"},
                        {"0.5", "0.54", "1500"},
                        {"0.2", "0.21", "2000000"}};
  std::string input = "巻枠,素材材質,素線径(d),線仕上外径,巻き数(n),基準厚み(T)\n";
  std::vector<job::Job> jobs;
  for (int former = 0; former < 3; ++former) {
    for (int material = 0; material < 3; ++material) {
      for (const Size& size : sizes) {
        input += std::to_string(former) + "," + std::to_string(material) + "," + size.bare + "," +
                 size.finished + "," + size.turns + ",2\n";
        job::Job job;
        only(job).coil.texts = form::Form1().state().inputTexts;
        only(job).input(form::box::BareDiameter) = size.bare;
        only(job).input(form::box::FinishedDiameter) = size.finished;
        only(job).input(form::box::Turns) = size.turns;
        only(job).input(form::box::ReferenceThickness) = "2";
        only(job).coil.former = static_cast<FormerShape>(former);
        only(job).coil.material = static_cast<ConductorMaterial>(material);
        jobs.push_back(job);
      }
    }
  }
  const BatchRun run = runOn(input);
  ASSERT_TRUE(run.summary.ok()) << run.summary.message();
  EXPECT_EQ(run.summary->failedRows, 0u);
  const auto rows = outputRows(run.output);
  ASSERT_EQ(rows.size(), jobs.size());
  ASSERT_EQ(std::size(kSources) + 1, resultColumns(ResultStyle::Readable).size());

  const std::regex plain("-?[0-9]+\\.[0-9]+");
  const std::vector<std::string> names = readableColumns(false);
  std::set<std::string> unitsSeen;
  for (std::size_t r = 0; r < jobs.size(); ++r) {
    form::Form1 form;
    form::applyJob(jobs[r], form);
    const form::FormState& s = form.state();
    for (const form::Caption c :
         {form::Caption::LengthUnit, form::Caption::WeightUnit, form::Caption::ResistanceUnit}) {
      unitsSeen.insert(s.caption(c));
    }
    EXPECT_EQ(rows[r].back(), "");
    const auto cellNamed = [&](const std::string& name) -> const std::string& {
      return rows[r].at(6 + (std::find(names.begin(), names.end(), name) - names.begin()));
    };
    for (std::size_t c = 0; c < std::size(kSources); ++c) {
      const ColumnSource& source = kSources[c];
      const std::string& cell = rows[r][6 + c];
      const std::string& box = s.text(source.box);
      const std::string& column = names[c];
      SCOPED_TRACE("row " + std::to_string(r + 2) + ", " + column + ": " + cell +
                   " beside the box's " + box);
      if (source.shown == Shown::Band) {
        // Copper-clad aluminium has no band; elsewhere the form's DCR is
        // the nominal figure times k and the ratio of the resistivities.
        const ConductorMaterial material = only(jobs[r]).coil.material;
        if (material == ConductorMaterial::CopperCladAluminium85) {
          EXPECT_EQ(cell, "");
          continue;
        }
        if (!column.starts_with("規格DCR公称")) continue;
        const double ratio =
            ThinWireFactor(std::stod(only(jobs[r]).input(form::box::BareDiameter))) *
            MaterialConstants(material).resistivity / 1000 /
            *wiredata::standardResistivity(material);
        const double dcr = number(cellNamed("DCR" + column.substr(column.find(' '))));
        EXPECT_GE(significantDigits(cell), 6);
        EXPECT_NEAR(number(cell) * ratio, dcr, dcr * 1e-5);
        continue;
      }
      const bool hidden = !form.isVisible(form::idOf(source.box)) ||
                          (source.onlyForFormer >= 0 &&
                           source.onlyForFormer != (s.former ? static_cast<int>(*s.former) : -1));
      if (hidden) {
        EXPECT_EQ(cell, "");
        continue;
      }
      if (source.shown == Shown::Text || source.shown == Shown::Count) {
        EXPECT_EQ(cell, box);
        continue;
      }
      ASSERT_TRUE(std::regex_match(cell, plain));
      EXPECT_GE(significantDigits(cell), 6);
      const double inColumn = windowUnitInColumnUnit(source.shown, s);
      const int windowDecimals = source.shown == Shown::Plain ? decimalsOf(box) : 3;
      const int needed = std::max(
          windowDecimals, windowDecimals + static_cast<int>(std::lround(-std::log10(inColumn))));
      EXPECT_GE(decimalsOf(cell), needed);
      // The box's text is the cell's number rounded as the window rounds.
      const double halfStep = 0.5 * std::pow(10.0, -windowDecimals) * inColumn;
      EXPECT_NEAR(number(cell), number(box) * inColumn, halfStep * (1 + 1e-9));
    }
  }
  EXPECT_EQ(unitsSeen, (std::set<std::string>{"全長 mm", "全長 m", "全長 Km", "重量 mg", "重量 g",
                                              "重量 Kg", "DCR Ω", "DCR KΩ"}));
}

// A row the press refuses, one whose length fails (a fan whose radius is
// below its corners) and one that cannot be read have no results at all,
// only their message.
TEST(BatchColumns, AFailedRowHasOnlyItsMessage) {
  const BatchRun run = runOn(
      "巻枠,R,線仕上外径\n"
      "扇,0.1,0.21\n"
      "角,50,0.19\n"
      "四角,50,0.21\n");
  ASSERT_TRUE(run.summary.ok());
  EXPECT_EQ(run.summary->failedRows, 3u);
  for (const auto& row : outputRows(run.output)) {
    SCOPED_TRACE(row.back());
    EXPECT_NE(row.back(), "");
    EXPECT_EQ(std::vector<std::string>(row.begin() + 3, row.end() - 1),
              std::vector<std::string>(readableColumns(false).size()));
  }
}

TEST(BatchColumns, NumbersArePlainDecimalsOfSixSignificantDigits) {
  struct Case {
    double value;
    int decimals;
    const char* cell;
  };
  const Case cases[] = {
      {0.00496051, 3, "0.00496051"},  // a 2 mm wire of 20 turns in Ω
      {0.0049605149, 3, "0.00496051"},
      {1.9328046, 3, "1.93280"},
      {761810879.6913, 3, "761810879.691"},  // never an exponent, never a digit group
      {0.9823004, 6, "0.982300"},            // the window showed mm: six decimals in m
      {4.935, 3, "4.93500"},
      {999999.9999996, 3, "1000000.000"},
      {0.0999999996, 3, "0.100000"},
      {-1.5, 3, "-1.50000"},
      {0, 6, "0.000000"},
      {-0.0, 3, "0.000"},
      {1e-9, 3, "0.00000000100000"},
      {std::nan(""), 3, ""},
      {INFINITY, 3, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(numberCell(c.value, c.decimals), c.cell) << c.value;

  // Values of every size a coil gives: the cell is the value rounded to its
  // last decimal, six or seven significant digits, or more where the
  // decimals asked for give more.
  std::mt19937_64 random(19);
  const std::regex plain("-?(0|[1-9][0-9]*)(\\.[0-9]+)?");
  for (int i = 0; i < 20000; ++i) {
    const double value = (i % 7 == 0 ? -1 : 1) *
                         std::pow(10.0, std::uniform_real_distribution<double>(-7, 12)(random));
    const int decimals = static_cast<int>(random() % 7);
    const std::string cell = numberCell(value, decimals);
    SCOPED_TRACE(std::to_string(value) + " to " + std::to_string(decimals) + ": " + cell);
    ASSERT_TRUE(std::regex_match(cell, plain));
    const int shown = decimalsOf(cell);
    EXPECT_GE(shown, decimals);
    EXPECT_GE(significantDigits(cell), 6);
    if (shown > decimals) {
      EXPECT_LE(significantDigits(cell), 7);
    }
    EXPECT_LE(std::abs(std::stod(cell) - value),
              0.5 * std::pow(10.0, -shown) * (1 + 1e-9) + std::abs(value) * 1e-15);
  }
}

// A column named almost as one Kelvane reads is a slip of the keyboard: the
// batch stops with one line naming it and the column it resembles, rather
// than carry it through and compute with the window's value. Names of the
// user's own that resemble none are carried through.
TEST(BatchColumns, ANameCloseToAColumnIsRefused) {
  struct Case {
    const char* name;
    const char* resembles;  // null: carried through
  };
  const Case cases[] = {
      {"leadLenght", "leadLength"},
      {"leadlength", "leadLength"},
      {"lead Length", "leadLength"},
      {"ｌｅａｄＬｅｎｇｔｈ", "leadLength"},
      {"bareDiamter", "bareDiameter"},
      {"tention", "tension"},
      {"素線径（ｄ）", "素線径(d)"},
      {"素線径 (d)", "素線径(d)"},
      {"巻数(n)", "巻き数(n)"},
      {"a", "A"},
      {"Ｒ", "R"},
      {"ag", "AG"},
      {"Former", "former"},
      {"customr", "customer"},
      {"見積番", "見積番号"},
      {"使用温度　", "使用温度"},
      {"備考", nullptr},
      {"線材単位", "線材単価"},
      {"windingRPM", "windingRpm"},
      {"品種", nullptr},  // beside 品番: short names must match to be taken for one
      {"C", nullptr},
      {"メモ", nullptr},
      {"memo", nullptr},
      {"note", nullptr},
      {"巻き数", nullptr},  // three characters apart: told as a missing input instead
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const BatchRun run = runOn(std::string("turns,") + c.name + "\n10,x\n");
    if (!c.resembles) {
      ASSERT_TRUE(run.summary.ok()) << run.summary.message();
      EXPECT_EQ(outputRows(run.output)[0][1], "x");
      continue;
    }
    ASSERT_FALSE(run.summary.ok());
    const std::string line = run.summary.message();
    EXPECT_NE(line.find(std::string("「") + c.name + "」"), std::string::npos) << line;
    EXPECT_NE(line.find(std::string("「") + c.resembles + "」"), std::string::npos) << line;
    EXPECT_EQ(line.find('\n'), std::string::npos);
    EXPECT_EQ(run.output, "");
  }
}

// The inputs a header lacks are computed with the window's texts as it
// opens, and one line says which, in the header's own way of naming them.
TEST(BatchColumns, MissingInputsAreToldInOneLine) {
  struct Case {
    std::string header;
    std::string notice;  // empty: none
  };
  std::string all = join(inputColumns());
  const Case cases[] = {
      {all, ""},
      {join(jobFileColumns()), ""},
      {all + ",顧客名,備考", ""},
      {"巻き数(n),備考,巻枠,素線径(d),線仕上外径,リード長さ(L),基準厚み(T),内径(D),A,B,r1,r2,R,AG",
       "見出しにない入力の列は、ウィンドウを開いたときの値で計算します: XX 60, Tension 60, "
       "素材材質 "
       "銅線"},
      {"turns,former",
       "見出しにない入力の列は、ウィンドウを開いたときの値で計算します: bareDiameter 0.2, "
       "finishedDiameter 0.21, leadLength 10, referenceThickness 0.8, innerDiameter 10, sideA 2, "
       "sideB 2, cornerR1 0.3, cornerR2 0.3, fanRadius 50, fanAngle 60, fanWideWidth 60, tension "
       "60, material copper"},
      // Named both ways, the window's captions are told.
      {"turns,巻枠," +
           join(std::vector<std::string>(inputColumns().begin() + 3, inputColumns().end() - 2)),
       "見出しにない入力の列は、ウィンドウを開いたときの値で計算します: 素線径(d) 0.2, 線仕上外径 "
       "0.21, 素材材質 銅線"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.header);
    const BatchRun run = runOn(c.header + "\n");
    ASSERT_TRUE(run.summary.ok()) << run.summary.message();
    EXPECT_EQ(run.notices,
              c.notice.empty() ? std::vector<std::string>() : std::vector<std::string>{c.notice});
  }
}

// The job's fields are carried as columns by either name; the working
// temperature gives the resistances at it, as the results table gives them,
// in every row the same two columns; a temperature that cannot be read fails
// its row alone.
TEST(BatchColumns, JobFieldsAndTheResistanceAtTheWorkingTemperature) {
  struct Case {
    const char* temperature;
    ConductorMaterial material;
    const char* error;  // a part of the row's message after its place; null for none
  };
  const Case cases[] = {
      {"75", ConductorMaterial::Copper, nullptr},
      {"-40", ConductorMaterial::Aluminium, nullptr},
      {"１２０", ConductorMaterial::CopperCladAluminium85, nullptr},
      {" 20 ", ConductorMaterial::Copper, nullptr},  // at 20 °C the columns stay empty
      {"", ConductorMaterial::Copper, nullptr},      // and when there is none
      {"75度", ConductorMaterial::Copper, "使用温度を数として読めません"},
      {"600", ConductorMaterial::Copper, "使用温度"},
  };
  const std::vector<std::string> columns = resultColumns(ResultStyle::Readable, true);
  const auto at = [&](const std::string& name) {
    return static_cast<std::size_t>(std::find(columns.begin(), columns.end(), name) -
                                    columns.begin());
  };
  for (const bool fileNames : {false, true}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.temperature) + (fileNames ? " by the job file's names" : ""));
      const std::string header =
          fileNames ? "customer,partNumber,quotationNumber,personInCharge,workingTemperature,"
                      "turns,material\n"
                    : "顧客名,品番,見積番号,担当者,使用温度,巻き数(n),素材材質\n";
      const BatchRun run =
          runOn(header + "株式会社サンプル電機,KC-0042,Q2026-118,山田 太郎,\"" + c.temperature +
                "\",400," + std::to_string(static_cast<int>(c.material)) + "\n");
      ASSERT_TRUE(run.summary.ok()) << run.summary.message();
      ASSERT_EQ(outputHeader(run.output).size(), 7 + columns.size());
      const auto row = outputRows(run.output).at(0);
      EXPECT_EQ(std::vector<std::string>(row.begin(), row.begin() + 5),
                (std::vector<std::string>{"株式会社サンプル電機", "KC-0042", "Q2026-118",
                                          "山田 太郎", c.temperature}));
      const std::string aligned = row[7 + at("DCR 整列 (使用温度) [Ω]")];
      const std::string predicted = row[7 + at("DCR 予測 (使用温度) [Ω]")];
      if (c.error) {
        EXPECT_TRUE(row.back().starts_with("2 行目 5 列目（")) << row.back();
        EXPECT_NE(row.back().find(c.error), std::string::npos) << row.back();
        EXPECT_EQ(row[7 + at("DCR 整列 [Ω]")], "");
        continue;
      }
      EXPECT_EQ(row.back(), "");
      const Expected<double> celsius = readWorkingTemperature(c.temperature);
      if (!celsius || *celsius == kReferenceCelsius) {
        EXPECT_EQ(aligned, "");
        EXPECT_EQ(predicted, "");
        continue;
      }
      // As the results table gives them, in the window's unit and format.
      job::Job job;
      only(job).coil.texts = form::Form1().state().inputTexts;
      only(job).input(form::box::Turns) = "400";
      only(job).coil.material = c.material;
      form::Form1 form;
      form::applyJob(job, form);
      const job::ResultsTable table = job::resultsTable(form::shownCoil(form), *celsius);
      const auto line =
          std::find_if(table.results.begin(), table.results.end(), [](const job::TableRow& r) {
            return r.item.starts_with("DCR") && r.item != "DCR (20 °C)";
          });
      ASSERT_NE(line, table.results.end());
      ASSERT_EQ(line->unit, "Ω");
      EXPECT_GE(significantDigits(aligned), 6);
      EXPECT_NEAR(number(aligned), number(line->aligned), 0.0005);
      EXPECT_NEAR(number(predicted), number(line->predicted), 0.0005);
      EXPECT_NE(aligned, row[7 + at("DCR 整列 [Ω]")]);
    }
  }
}

// A row's band worked by hand from its 全長 columns (1.31812 m aligned and
// 1.34333 m predicted of 0.1 mm copper) and, per metre, the IEC table's
// limits 2.034 and 2.333 Ω and 0.017241 / (π · 0.0025) = 2.19519 Ω; right
// after the DCR columns. Copper-clad aluminium has no band.
TEST(BatchColumns, TheStandardBandOfARow) {
  const BatchRun run =
      runOn("素線径(d),線仕上外径,巻き数(n),素材材質\n0.1,0.12,100,0\n0.1,0.12,100,2\n");
  ASSERT_TRUE(run.summary.ok()) << run.summary.message();
  const std::vector<std::string> header = outputHeader(run.output);
  const auto rows = outputRows(run.output);
  const auto first =
      std::find(header.begin(), header.end(), "規格DCR最小 整列 [Ω]") - header.begin();
  ASSERT_EQ(header.at(first - 1), "DCR 予測 [Ω]");
  const auto band = [&](std::size_t row) {
    return std::vector<std::string>(rows.at(row).begin() + first, rows.at(row).begin() + first + 6);
  };
  EXPECT_EQ(band(0), (std::vector<std::string>{"2.68106", "2.73233", "2.89353", "2.94887",
                                               "3.07518", "3.13399"}));
  EXPECT_EQ(band(1), std::vector<std::string>(6));
}

}  // namespace
}  // namespace kelvane::batch

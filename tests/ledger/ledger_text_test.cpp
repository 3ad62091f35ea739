// What the register reads and writes without a database: numbers from a
// pattern, the ledger's CSV, where the register lives, and a file that is not
// a register.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "ledger/register.h"
#include "tests/ledger/register_locations.h"

namespace kelvane::ledger {
namespace {

TEST(NumberFromPattern, WritesTheFieldsAndRefusesWhatItCannot) {
  struct Row {
    const char* pattern;
    const char* today;
    std::int64_t sequence;
    std::string expected;  // the number, or the sentence refusing it
  };
  const std::vector<Row> rows = {
      {"Q{yyyy}-{nnnn}", "2026-12-09", 1, "Q2026-0001"},
      {"Q{yyyy}-{nnnn}", "2026-12-09", 12345, "Q2026-12345"},
      {"{yy}{mm}{n}", "2007-03-31", 7, "07037"},
      {"見積-{nnn}", "2026-01-01", 42, "見積-042"},
      {"Q{yyyy}", "2026-12-09", 1, "見積番号の形式「Q{yyyy}」に連番の {nnnn} がありません。"},
      {"Q{dd}-{nn}", "2026-12-09", 1,
       "見積番号の形式「Q{dd}-{nn}」の「{dd}」は使えません（使えるのは {yyyy} {yy} {mm} と連番の "
       "{nnnn} です）。"},
      {"Q{nn}-{nnn}", "2026-12-09", 1, "見積番号の形式「Q{nn}-{nnn}」に連番が 2 つあります。"},
      {"Q{yyyy-{nn}", "2026-12-09", 1,
       "見積番号の形式「Q{yyyy-{nn}」の「{yyyy-{nn}」は使えません（使えるのは {yyyy} {yy} {mm} "
       "と連番の {nnnn} です）。"},
      {"Q{nnnn", "2026-12-09", 1, "見積番号の形式「Q{nnnn」の「{」が閉じていません。"},
      {"Q}{nn}", "2026-12-09", 1, "見積番号の形式「Q}{nn}」の「}」に対応する「{」がありません。"},
      {"Q{nn}", "2026-02-30", 1, "日付「2026-02-30」を読めません。"},
      {"Q{nn}", "2026-2-3", 1, "日付「2026-2-3」を読めません。"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.pattern);
    auto number = numberFromPattern(row.pattern, row.today, row.sequence);
    EXPECT_EQ(number ? number.value() : number.message(), row.expected);
  }
}

job::IssueRecord withOneLine() {
  job::IssueRecord r = test::sampleRecord("Q2026-0001", "2026-12-09", "ABC, \"本社\"");
  r.revision = 2;
  r.lines.resize(1);
  r.lines[0].name = "=1+1";
  return r;
}

TEST(LedgerCsv, IsWhatASpreadsheetReads) {
  EXPECT_EQ(ledgerCsv({StoredIssue{withOneLine(), "{}", "2026-12-09T00:00:00Z"}}),
            "\xEF\xBB\xBF"
            "見積番号,版,発行日,有効期限,顧客名,件名,担当者,行,品番,品名,数量,単価(円),金額(円),"
            "小計(円),消費税(円),合計(円)\r\n"
            "Q2026-0001,2,2026-12-09,2027-01-08,\"ABC, \"\"本社\"\"\",電源トランス用コイル,山田,1,"
            "AB-12,'=1+1,\"1,000\",149.30,\"149,300\",\"253,300\",\"25,330\",\"278,630\"\r\n");
}

TEST(LedgerCsv, AMalformedFileIsRefusedByItsLine) {
  const std::string header =
      "見積番号,版,発行日,有効期限,顧客名,件名,担当者,行,品番,品名,数量,単価(円),金額(円),"
      "小計(円),消費税(円),合計(円)\r\n";
  const std::string good =
      "Q1,1,2026-12-09,2027-01-08,A,S,P,1,AB,N,\"1,000\",149.30,\"149,300\",10,1,11\r\n";
  struct Row {
    const char* what;
    std::string text;
    std::string expected;
  };
  const std::vector<Row> rows = {
      {"empty", "", "台帳の CSV が空です。"},
      {"not the header", "見積番号,版\r\n" + good,
       "台帳の CSV の 1 行目が見積台帳の見出し（見積番号,版,発行日,…）ではありません。"},
      {"a quote left open", header + good + "Q2,1,\"2026-12-09,x\r\n",
       "台帳の CSV の 3 行目を読めません（引用符の使い方が正しくありません）。"},
      {"too few columns", header + "Q1,1,2026-12-09\r\n" + good,
       "台帳の CSV の 2 行目の列が 3 あります（16 列のはずです）。"},
      {"a 版 not a number", header + good + "Q2,二,2026-12-09,,A,S,P,1,AB,N,1,1,1,1,1,1\r\n",
       "台帳の CSV の 3 行目の版「二」を読めません。"},
      {"a 単価 of three decimals", header + "Q1,1,2026-12-09,,A,S,P,1,AB,N,1,1.005,1,1,1,1\r\n",
       "台帳の CSV の 2 行目の単価(円)「1.005」を読めません。"},
      {"a NUL in a 件名",
       header + good + "Q2,1,2026-12-09,,A,S" + '\0' + "T,P,1,AB,N,1,1,1,1,1,1\r\n",
       "台帳の CSV の 3 行目に NUL 文字があります。"},
      {"Shift_JIS", header + good + "Q2,1,2026-12-09,,\x8c\xda\x8b\x71,S,P,1,AB,N,1,1,1,1,1,1\r\n",
       "台帳の CSV の 3 行目が UTF-8 ではありません。"},
      // The sentence stays one line whatever the cell holds.
      {"a line break in a 単価", header + "Q1,1,2026-12-09,,A,S,P,1,AB,N,1,\"3\n142\",1,1,1,1\r\n",
       "台帳の CSV の 2 行目の単価(円)「3\\x0a142」を読めません。"},
      {"one 版 with two customers",
       header + good + "Q1,1,2026-12-09,2027-01-08,B,S,P,2,AB,N,1,1,1,10,1,11\r\n",
       "台帳の CSV の 3 行目の見積番号「Q1」第1版の欄が、同じ版の前の行と違います。"},
      {"a 行 twice", header + good + good, "台帳の CSV の 3 行目の行「1」は同じ版にもうあります。"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    EXPECT_EQ(importLedgerCsv(row.text).message(), row.expected);
  }
  // Written back by a spreadsheet: no BOM, LF alone, 円 after the money.
  auto read = importLedgerCsv(header.substr(0, header.size() - 2) + "\n" +
                              "Q1,1,2026-12-09,,A,S,P,1,AB,N,1000,149.3円,149300,10,1,11\n");
  ASSERT_TRUE(read) << read.message();
  ASSERT_EQ(read->size(), 1u);
  EXPECT_EQ(read->front().record.lines.at(0).unitPriceSen, 14930);
}

TEST(RegisterLocation, FollowsTheEnvironment) {
  struct Row {
    const char* xdgDataHome;
    const char* home;
    const char* named;
    std::string expected;
  };
  const std::vector<Row> rows = {
      {"/data", "/home/a", nullptr, "/data/kelvane/register.sqlite3"},
      {"relative", "/home/a", nullptr, "/home/a/.local/share/kelvane/register.sqlite3"},
      {nullptr, "/home/a", "", "/home/a/.local/share/kelvane/register.sqlite3"},
      {nullptr, "/home/a", "postgresql://db/kelvane", "postgresql://db/kelvane"},
  };
  for (const Row& row : rows) {
    const auto set = [](const char* name, const char* value) {
      if (value != nullptr) {
        setenv(name, value, 1);
      } else {
        unsetenv(name);
      }
    };
    set("XDG_DATA_HOME", row.xdgDataHome);
    set("HOME", row.home);
    set("KELVANE_REGISTER", row.named);
    EXPECT_EQ(registerLocationFromEnvironment(), row.expected);
  }
}

TEST(SqliteRegister, IsMadeWithItsFolderAndRefusesAFileThatIsNotOne) {
  test::FreshRegister fresh("sqlite");
  const std::filesystem::path deep = fresh.folder() / "a" / "b" / "register.sqlite3";
  auto made = Register::open(deep.string());
  ASSERT_TRUE(made) << made.message();
  EXPECT_TRUE(std::filesystem::is_regular_file(deep));

  const std::filesystem::path notes = fresh.folder() / "notes.txt";
  std::ofstream(notes) << "これはデータベースではない、ただのメモです。\n"
                       << std::string(4096, 'x');
  EXPECT_EQ(Register::open(notes.string()).message(),
            "「notes.txt」は見積台帳のデータベースではありません。");
  EXPECT_EQ(std::filesystem::file_size(notes),
            4096u + std::string("これはデータベースではない、ただのメモです。\n").size());

  std::ofstream(fresh.folder() / "file") << "x";
  EXPECT_EQ(Register::open((fresh.folder() / "file" / "register.sqlite3").string()).message(),
            "見積台帳「register."
            "sqlite3」のフォルダーを作れません（途中の名前がフォルダーではありません）。");
}

}  // namespace
}  // namespace kelvane::ledger

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "batch_test_support.h"
#include "job/csv_cell.h"
#include "tools/batch/batch_encoding.h"

namespace kelvane::batch {
namespace {

using Fields = std::vector<std::string>;

struct CsvCase {
  const char* name;
  std::string text;
  std::vector<Fields> records;
};

TEST(BatchCsv, ReadsRfc4180InPiecesOfAnySize) {
  const CsvCase cases[] = {
      {"quoted comma", "a,\"b,c\",d\r\n", {{"a", "b,c", "d"}}},
      {"line breaks in quotes", "\"x\r\ny\",\"1\n2\"\n", {{"x\r\ny", "1\n2"}}},
      {"doubled quotes", "\"say \"\"hi\"\"\",\"\"\"\"\n", {{"say \"hi\"", "\""}}},
      {"empty fields", ",,\r\n\"\",x,\r\n", {{"", "", ""}, {"", "x", ""}}},
      {"no break at the end", "a,b\r\nc,", {{"a", "b"}, {"c", ""}}},
      {"LF, CR LF and CR", "1\n2\r\n3\r4\n", {{"1"}, {"2"}, {"3"}, {"4"}}},
      {"blank lines are no records", "\r\n\na\r\n\r\n", {{"a"}}},
      {"blanks belong to the field", " 1 , 2\t\n", {{" 1 ", " 2\t"}}},
      {"UTF-8 passes as it is", "丸,\"銅線,アルミ\"\n", {{"丸", "銅線,アルミ"}}},
  };
  for (const CsvCase& c : cases) {
    for (const std::size_t piece : {std::size_t{1}, std::size_t{3}, c.text.size()}) {
      SCOPED_TRACE(std::string(c.name) + ", pieces of " + std::to_string(piece));
      std::vector<Fields> read;
      for (const CsvRecord& r : readAll(c.text, piece)) {
        EXPECT_EQ(r.fault, CsvFault::None);
        read.push_back(r.fields);
      }
      EXPECT_EQ(read, c.records);
    }
  }
}

// Reading goes on after the end of the faulty record, which is not always
// the end of its line: a quoted field may hold line breaks.
TEST(BatchCsv, FaultyRecordIsToldAndReadingGoesOnAfterIt) {
  struct Faulty {
    std::string text;
    CsvFault fault;
    std::size_t field;
    bool okFollows;  // false where an open quote swallows the rest
  };
  const std::string tooLong(kMaxRecordBytes + 10, 'x');
  std::string tooLongLines;  // a quoted field of many lines, some with commas
  while (tooLongLines.size() <= kMaxRecordBytes) tooLongLines += "line, \"\"quoted\"\"\r\n";
  const Faulty cases[] = {
      {"a,b\"c,d\nok\n", CsvFault::StrayQuote, 1, true},
      {"\"a\"b,c\nok\n", CsvFault::StrayQuote, 0, true},
      {"a,\"open\nok\n", CsvFault::UnclosedQuote, 1, false},
      {"a," + tooLong + "\nok\n", CsvFault::TooLong, 1, true},
      {R"("a",")" + tooLong + "\",b\nok\n", CsvFault::TooLong, 1, true},
      {"\"" + tooLong + "\nok\n", CsvFault::TooLong, 0, false},
      {"a,\"" + tooLongLines + "\",b\nok\n", CsvFault::TooLong, 1, true},
      {"\"" + tooLongLines + "\"\r\nok\n", CsvFault::TooLong, 0, true},
      // Every byte counts: a line of nothing but commas is as long as it is.
      {std::string(2 * kMaxRecordBytes, ',') + "\nok\n", CsvFault::TooLong, kMaxRecordBytes, true},
      {"\"a\"b,\"x\ny\"\nok\n", CsvFault::StrayQuote, 0, true},
      {"a\"b\"c,\"x\ny\"\nok\n", CsvFault::StrayQuote, 0, true},
      // The first fault of a record is told, whether or not it arrives with
      // the byte over the limit.
      {"a\"b," + tooLong + "\nok\n", CsvFault::StrayQuote, 0, true},
  };
  for (const Faulty& c : cases) {
    for (const std::size_t piece : {std::size_t{4096}, c.text.size()}) {
      SCOPED_TRACE(c.text.substr(0, 12) + " (" + std::to_string(c.text.size()) +
                   " bytes) in pieces of " + std::to_string(piece));
      const auto records = readAll(c.text, piece);
      ASSERT_EQ(records.size(), c.okFollows ? 2u : 1u);
      EXPECT_EQ(records[0].fault, c.fault);
      EXPECT_EQ(records[0].faultField, c.field);
      if (c.okFollows) {
        EXPECT_EQ(records[1].fields, Fields{"ok"});
      }
    }
  }
  // The limit is on the text of the record, its line break aside.
  for (const std::string lineBreak : {"\n", "\r\n"}) {
    for (const std::size_t size : {kMaxRecordBytes, kMaxRecordBytes + 1}) {
      const auto records = readAll("a," + std::string(size - 2, ',') + lineBreak + "ok\n", 1000);
      ASSERT_EQ(records.size(), 2u);
      EXPECT_EQ(records[0].fault, size > kMaxRecordBytes ? CsvFault::TooLong : CsvFault::None);
      EXPECT_EQ(records[1].fields, Fields{"ok"});
    }
  }
}

TEST(BatchCsv, WritesFieldsThatReadBackTheSame) {
  const Fields fields = {"plain", "a,b", "say \"hi\"", "two\r\nlines", "", " blank ", "丸"};
  std::string line;
  for (const std::string& f : fields) {
    if (!line.empty()) line += ',';
    job::appendQuotedCell(line, f);
  }
  EXPECT_EQ(line, "plain,\"a,b\",\"say \"\"hi\"\"\",\"two\r\nlines\",, blank ,丸");
  const auto records = readAll(line + "\r\n");
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].fields, fields);
}

TEST(BatchEncoding, TellsWellFormedUtf8FromTheRest) {
  for (const std::string good : {"", "abc", "丸 ｶﾅ", "\xF0\x9F\x98\x80", "\xEF\xBF\xBD"}) {
    EXPECT_TRUE(isUtf8(good)) << good;
    EXPECT_EQ(repairedUtf8(good), good);
  }
  const std::pair<std::string, std::string> bad[] = {
      {"\xff", "\xEF\xBF\xBD"},
      {"a\x8a\xdb", "a\xEF\xBF\xBD\xEF\xBF\xBD"},                // Shift_JIS 丸
      {"\xC0\xAF", "\xEF\xBF\xBD\xEF\xBF\xBD"},                  // an overlong "/"
      {"\xED\xA0\x80", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},  // a surrogate
      {"\xE4\xB8", "\xEF\xBF\xBD\xEF\xBF\xBD"},                  // cut off
  };
  for (const auto& [text, repaired] : bad) {
    EXPECT_FALSE(isUtf8(text));
    EXPECT_EQ(repairedUtf8(text), repaired);
  }
}

TEST(BatchEncoding, FindsTheFirstByteThatIsNoUtf8) {
  EXPECT_EQ(firstNonUtf8Byte("丸 ｶﾅ"), std::string_view::npos);
  EXPECT_EQ(firstNonUtf8Byte("20\xB0"
                             "C"),
            2u);
  EXPECT_EQ(firstNonUtf8Byte("丸\xE4\xB8"), 3u);  // cut off
  EXPECT_EQ(firstNonUtf8Byte("\xC0\xAF"), 0u);
}

// What the bytes from the first one beyond ASCII are taken for, and the line
// that says so when it was a guess.
TEST(BatchEncoding, TheTextBeyondAsciiDecides) {
  constexpr const char* kShiftJis = "Shift_JIS（CP932）として読みました";
  constexpr const char* kUtf8 = "UTF-8 として読みました";
  struct Case {
    std::string bytes;
    TextEncoding encoding;
    std::string text;
    std::string told;  // what the line says; empty: no line
  };
  const std::string ascii(kEncodingSampleBytes, '1');
  const Case cases[] = {
      {"abc", TextEncoding::Undecided, "abc", ""},
      {"\xEF\xBB\xBF"
       "abc",
       TextEncoding::Utf8, "abc", ""},
      {"a,\xE4\xB8\xB8", TextEncoding::Utf8, "a,丸", ""},
      {"a,\x8a\xdb", TextEncoding::ShiftJis, "a,丸", kShiftJis},
      // \ and ~ are themselves in CP932, not yen and overline.
      {"\\~,\x8a\xdb", TextEncoding::ShiftJis, "\\~,丸", kShiftJis},
      {"\x83\x41\x81\x7e", TextEncoding::ShiftJis, "ア×", kShiftJis},
      // UTF-8 characters at least as many as the stray bytes: UTF-8, the
      // stray bytes passed on for their rows to be told, wherever they are.
      {"a,丸\n\xff,x\n", TextEncoding::Utf8, "a,丸\n\xff,x\n", kUtf8},
      {"note,turns\n20\xB0"
       "C,10\nKC-β,20\nKC-β,30\n",
       TextEncoding::Utf8,
       "note,turns\n20\xB0"
       "C,10\nKC-β,20\nKC-β,30\n",
       kUtf8},
      {"\xEF\xBB\xBF"
       "a,\xff",
       TextEncoding::Utf8, "a,\xff", ""},  // the mark says it
      // Shift_JIS read as UTF-8 has more stray bytes than characters.
      {"a,\x8a\xdb,\xe4\xb8\xb8", TextEncoding::ShiftJis, "a,丸,荳ｸ", kShiftJis},
      {"\x82\xdc\x82\xc5\x82\xc5\x82\xb7\x81\x42", TextEncoding::ShiftJis, "までです。", kShiftJis},
      // A character cut off by the end of the file is no UTF-8.
      {"a,\xe4\xb8", TextEncoding::ShiftJis, "a,荳", kShiftJis},
      // What the held-back text holds decides, not what comes after it.
      {"\xB0" + ascii + "KC-β", TextEncoding::ShiftJis, "ｰ" + ascii + "KC-ﾎｲ", kShiftJis},
      {"\xB0" + ascii.substr(10) + "KC-β", TextEncoding::Utf8, "\xB0" + ascii.substr(10) + "KC-β",
       kUtf8},
  };
  for (const Case& c : cases) {
    for (const std::size_t piece : {std::size_t{1}, std::size_t{4096}, c.bytes.size()}) {
      SCOPED_TRACE(c.text.substr(0, 40) + " in pieces of " + std::to_string(piece));
      InputDecoder decoder;
      std::string text;
      for (std::size_t at = 0; at < c.bytes.size(); at += piece) {
        text += decoder.decode(std::string_view(c.bytes).substr(at, piece));
      }
      text += decoder.finish();
      EXPECT_TRUE(text == c.text) << text.substr(0, 40);
      EXPECT_EQ(decoder.encoding(), c.encoding);
      if (c.told.empty()) {
        EXPECT_EQ(decoder.guess(), "");
      } else {
        EXPECT_NE(decoder.guess().find(c.told), std::string::npos) << decoder.guess();
      }
    }
  }
}

}  // namespace
}  // namespace kelvane::batch

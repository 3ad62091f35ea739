#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kelvane::job {

// One item's line on an issued 見積書: its names and its basis lot.
struct IssuedLine {
  std::string partNumber;  // 品番
  std::string name;        // 品名
  std::int64_t quantity = 0;
  std::int64_t unitPriceSen = 0;  // 単価 in 0.01 円
  std::int64_t amountYen = 0;     // 金額
  bool operator==(const IssuedLine&) const = default;
};

// One issue of a quotation (a 版 handed to the customer) as the job's history
// and the quotation register both keep it: who it went to, when, until when
// it holds, and every figure the 見積書 printed.
struct IssueRecord {
  std::string quotationNumber;  // 見積番号
  int revision = 0;             // 版, from 1
  std::string issuedOn;         // 発行日, "2026-12-09"
  std::string validUntil;       // 有効期限, "2027-01-08"
  std::string customer;         // 顧客名
  std::string subject;          // 件名
  std::string personInCharge;   // 担当者
  std::vector<IssuedLine> lines;
  std::int64_t subtotalYen = 0;  // 小計 (税抜)
  std::int64_t taxYen = 0;       // 消費税
  std::int64_t totalYen = 0;     // 合計 (税込)
  bool operator==(const IssueRecord&) const = default;
};

}  // namespace kelvane::job

#pragma once

#include <string>
#include <string_view>

#include "job/job.h"

namespace kelvane::job {

// The name the save and export dialogs offer for a job that has no file yet:
// 見積番号 and, for a job of one item, its 品番 joined by "_", then the suffix
// ("Q2026-118_AB-12.kelvane"). Either alone when the other is empty; 無題
// only when both are.
//
// Each field is trimmed of blanks (the ideographic space too) and control
// characters at its ends; inside, every character some file system refuses
// (/ \ : * ? " < > | and the control characters) becomes "_", and the
// characters that turn a text's direction are dropped. Dots at the start
// (a hidden file) and dots or blanks at the end are left out, and the name
// is cut at a whole character so that it stays well within the 255 bytes a
// file's name may have.
//
// A document of the job gets its name after the stem ("…_見積書.pdf",
// "…_見積計算書.pdf"), so the internal cost sheet is never offered under the
// name of the customer's quotation, nor the other way round.
std::string suggestedFileName(const Job& job, std::string_view suffix,
                              std::string_view document = {});

// The documents a job puts out as PDF or on paper.
inline constexpr std::string_view kCustomerQuotationDocument = "見積書";
inline constexpr std::string_view kCostSheetDocument = "見積計算書";

// A file's stem with the document's name: "Q2026-118_AB-12" and 見積書 give
// "Q2026-118_AB-12_見積書"; the stem alone without a document.
std::string documentStem(std::string_view stem, std::string_view document);

}  // namespace kelvane::job

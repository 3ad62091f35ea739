#pragma once

#include <string>
#include <string_view>

#include "job/job.h"

namespace kelvane::job {

// The name the save and export dialogs offer for a job that has no file yet:
// 見積番号 and 品番 joined by "_", then the suffix ("Q2026-118_AB-12.kelvane").
// Either alone when the other is empty; 無題 only when both are.
//
// Each field is trimmed of blanks (the ideographic space too) and control
// characters at its ends; inside, every character some file system refuses
// (/ \ : * ? " < > | and the control characters) becomes "_", and the
// characters that turn a text's direction are dropped. Dots at the start
// (a hidden file) and dots or blanks at the end are left out, and the name
// is cut at a whole character so that it stays well within the 255 bytes a
// file's name may have.
std::string suggestedFileName(const JobFields& fields, std::string_view suffix);

}  // namespace kelvane::job

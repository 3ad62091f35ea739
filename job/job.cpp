#include "job/job.h"

#include <ctime>

namespace kelvane::job {
namespace {

constexpr std::array<std::string_view, 3> kFormerWords = {"round", "rectangular", "fan"};
constexpr std::array<std::string_view, 3> kMaterialWords = {"copper", "aluminium",
                                                            "copperCladAluminium85"};

template <typename Enum>
std::optional<Enum> fromWord(const std::array<std::string_view, 3>& words, std::string_view w) {
  for (std::size_t i = 0; i < words.size(); ++i) {
    if (words[i] == w) return static_cast<Enum>(i);
  }
  return std::nullopt;
}

}  // namespace

std::string_view formerWord(FormerShape shape) { return kFormerWords[static_cast<int>(shape)]; }

std::string_view materialWord(ConductorMaterial material) {
  return kMaterialWords[static_cast<int>(material)];
}

std::optional<FormerShape> formerFromWord(std::string_view word) {
  return fromWord<FormerShape>(kFormerWords, word);
}

std::optional<ConductorMaterial> materialFromWord(std::string_view word) {
  return fromWord<ConductorMaterial>(kMaterialWords, word);
}

std::string_view programVersion() { return KELVANE_VERSION; }

std::string isoTimestamp(std::chrono::system_clock::time_point time) {
  const std::time_t t = std::chrono::system_clock::to_time_t(time);
  std::tm utc{};
  gmtime_r(&t, &utc);
  char text[32];
  const std::size_t n = std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
  return {text, n};
}

Job stampForSaving(Job job, std::chrono::system_clock::time_point now) {
  job.programVersion = std::string(programVersion());
  job.savedAt = isoTimestamp(now);
  return job;
}

}  // namespace kelvane::job

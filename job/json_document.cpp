#include "job/json_document.h"

#include <string>

namespace kelvane::job {
namespace {

using json = nlohmann::json;

// Builds the document as nlohmann's own reader does, and stops at the first
// array or object that would go deeper than the limit.
class DepthLimitedReader : public nlohmann::detail::json_sax_dom_parser<json> {
  using Base = nlohmann::detail::json_sax_dom_parser<json>;

 public:
  DepthLimitedReader(json& into, int maxDepth) : Base(into, false), maxDepth_(maxDepth) {}

  bool start_object(std::size_t size) { return deeper() && Base::start_object(size); }
  bool start_array(std::size_t size) { return deeper() && Base::start_array(size); }
  bool end_object() {
    --depth_;
    return Base::end_object();
  }
  bool end_array() {
    --depth_;
    return Base::end_array();
  }
  template <class Exception>
  bool parse_error(std::size_t position, const std::string&, const Exception& error) {
    fault = error.id == 406 ? JsonDocument::Fault::NumberTooLarge : JsonDocument::Fault::Unreadable;
    byte = position;
    return false;
  }

  JsonDocument::Fault fault = JsonDocument::Fault::None;
  std::size_t byte = 0;

 private:
  bool deeper() {
    if (++depth_ <= maxDepth_) return true;
    fault = JsonDocument::Fault::TooDeep;
    return false;
  }
  int depth_ = 0;
  int maxDepth_;
};

}  // namespace

JsonDocument readJsonDocument(std::string_view text, int maxDepth) {
  JsonDocument read;
  DepthLimitedReader reader(read.value, maxDepth);
  const bool whole = json::sax_parse(text, &reader);
  if (whole && reader.fault == JsonDocument::Fault::None) return read;
  read.value = nullptr;
  read.fault =
      reader.fault == JsonDocument::Fault::None ? JsonDocument::Fault::Unreadable : reader.fault;
  read.byte = reader.byte;
  return read;
}

}  // namespace kelvane::job

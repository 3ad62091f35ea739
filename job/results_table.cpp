#include "job/results_table.h"

#include <optional>
#include <string_view>

#include "core/number_text.h"
#include "core/temperature_resistance.h"
#include "form/boxes.h"
#include "form/control_table.h"
#include "job/csv_cell.h"
#include "job/table_lines.h"

namespace kelvane::job {
namespace {

using form::ControlId;
using form::label1;

// The caption of a label as the window shows it now.
std::string captionOf(const form::Form1& form, const ControlId& id) {
  const auto& captions = form.state().captions;
  if (const auto it = captions.find(id.str()); it != captions.end()) return it->second;
  const form::ControlDesign* design = form::findControl(id);
  return design ? design->text : std::string();
}

using form::ResultBox;

constexpr const char* kFormerWords[3] = {"丸形", "角形", "扇形"};

// The cell quoted when it holds a character in `special`, quotes doubled.
std::string field(const std::string& cell, std::string_view special) {
  const std::string text = inertCell(cell);
  if (text.find_first_of(special) == std::string::npos) return text;
  std::string out = "\"";
  for (char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
}

// "DCR (75 °C)".
std::string atTemperature(const std::string& item, double celsius) {
  return item + " (" + plainDecimal(celsius) + " °C)";
}

// A DCR box's resistance at the working temperature, written as the box
// writes it. Empty when the box shows nothing the last press wrote: a text
// typed over it is not a resistance to scale.
std::string resistanceAt(const form::Form1& form, ResultBox b, double pressed, double celsius,
                         ConductorMaterial conductor) {
  if (form.state().text(b).empty() || form.userChanged(form::idOf(b))) return "";
  const Expected<double> r = ResistanceAtTemperature(pressed, celsius, conductor);
  return r ? formatFixed3(*r) : "";
}

std::string joinRows(const ResultsTable& table, char separator, std::string_view lineEnd) {
  const std::string special = std::string(1, separator) + "\"\r\n";
  std::string out;
  auto line = [&](const TableRow& r) {
    out += field(r.item, special) + separator + field(r.max, special) + separator +
           field(r.mid, special) + separator + field(r.unit, special);
    out += lineEnd;
  };
  line(tableHeading());
  for (const TableRow& r : table.inputs) line(r);
  for (const TableRow& r : table.results) line(r);
  return out;
}

}  // namespace

const TableRow& tableHeading() {
  static const TableRow heading{"項目", "Max", "予測 Mid", "単位"};
  return heading;
}

ResultsTable resultsTable(const form::Form1& form, double workingCelsius) {
  const form::FormState& s = form.state();
  ResultsTable table;

  table.inputs.push_back({std::string(kFormerItem),
                          s.option1 >= 0 && s.option1 <= 2 ? kFormerWords[s.option1] : "", "", ""});
  const form::ControlDesign* material = form::findControl({"Option3", s.option3});
  table.inputs.push_back({captionOf(form, {"Frame2", -1}), material ? material->text : "", "", ""});
  for (int i = 0; i < form::kInputBoxCount; ++i) {
    if (!form.isVisible(form::text1(i))) continue;
    const InputLine& line = inputLines()[i];
    table.inputs.push_back(
        {captionOf(form, label1(line.label)), s.text1[i], "", std::string(line.unit)});
  }
  table.inputs.push_back(
      {std::string(kWorkingTemperatureItem), plainDecimal(workingCelsius), "", "°C"});

  for (const ResultLine& line : resultLines()) {
    if (!form.isVisible(form::idOf(line.max))) continue;
    TableRow row;
    row.item = nameAndUnit(captionOf(form, label1(line.label))).first;
    row.max = s.text2[form::indexOf(line.max)];
    if (line.mid) row.mid = s.text2[form::indexOf(*line.mid)];
    row.unit = line.unitLabel ? nameAndUnit(captionOf(form, label1(*line.unitLabel))).second
                              : std::string(line.unit);
    if (line.max != ResultBox::DcrMax) {
      table.results.push_back(std::move(row));
      continue;
    }
    const std::string name = row.item;
    row.item = atTemperature(name, kReferenceCelsius);
    table.results.push_back(row);
    const auto conductor = workingResistanceConductor(form, workingCelsius);
    if (!conductor) continue;
    row.item = atTemperature(name, workingCelsius);
    row.max = resistanceAt(form, ResultBox::DcrMax, s.resistance->max, workingCelsius, *conductor);
    row.mid = resistanceAt(form, ResultBox::DcrMid, s.resistance->mid, workingCelsius, *conductor);
    table.results.push_back(std::move(row));
  }
  return table;
}

std::optional<ConductorMaterial> workingResistanceConductor(const form::Form1& form,
                                                            double workingCelsius) {
  const auto& resistance = form.state().resistance;
  if (workingCelsius == kReferenceCelsius || !resistance) return std::nullopt;
  return resistance->material;
}

std::string toTabSeparated(const ResultsTable& table) { return joinRows(table, '\t', "\n"); }

std::string toCsv(const ResultsTable& table) {
  return "\xEF\xBB\xBF" + joinRows(table, ',', "\r\n");
}

}  // namespace kelvane::job

#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "wiredata/wire_choice.h"
#include "wiredata/wire_tables.h"

namespace kelvane::wiredata {

// The texts of 規格線から選ぶ, whichever toolkit draws the dialog: the desktop
// window's and the browser page's show the same table the same way.

// A cell by its indices into the table's rows and columns.
struct CellIndex {
  std::size_t row = 0;
  std::size_t column = 0;
  bool operator==(const CellIndex&) const = default;
};

// A figure as the table shows it: with the decimals its column states its
// figures to ("1.000", not "1"), or as the data gives it where the column has
// none or the figure carries more.
std::string figureText(double figure, const WireColumn& column);

// A cell as the table shows it: a figure as above, a size as the data spells
// it ("4/0"), a dash where the source gives nothing; a remark's mark after it
// ("0.064 ※1").
std::string cellText(const WireTable& table, std::size_t row, std::size_t column);

// What a conductor diameter typed into the search box finds, read as the
// window's boxes read it ("1.0", "１．０", "0.25 mm"): the row's first cell
// that can be chosen (its thinnest grade, or the row itself in a table
// without overall diameters), and the line saying so. An empty text finds
// nothing and says nothing.
struct DiameterSearch {
  std::optional<CellIndex> cell;
  std::string text;
};
DiameterSearch findTypedDiameter(const WireTable& table, std::string_view typed);

// Where the figures of a row come from: the row's own source, then a line for
// each other source its figures come from, naming those columns. Without a
// row (none given, or outside the table): where the table comes from.
std::string sourceText(const WireTable& table, std::optional<std::size_t> row);

// What choosing a cell of the table puts where, and what the chosen cell
// will put; `bareName` and `finishedName` are the boxes' names as the window
// shows them.
std::string howToChoose(const WireTable& table, std::string_view bareName,
                        std::string_view finishedName);
std::string choiceText(const std::optional<WireChoice>& choice, std::string_view bareName,
                       std::string_view finishedName);

}  // namespace kelvane::wiredata

#include "form/diagram_geometry.h"

#include "form/control_table.h"

namespace kelvane::form {

DiagramGeometry diagramGeometry() {
  static const DiagramGeometry geometry = [] {
    const ControlDesign& panel = *findControl({"Shape2", -1});
    const ControlDesign& formerLine = *findControl({"Line1", -1});
    const ControlDesign& leftFlange = *findControl({"Line2", -1});
    DiagramGeometry g;
    g.panelWidth = static_cast<float>(panel.width);
    g.panelHeight = static_cast<float>(panel.height);
    g.leftEdge = static_cast<float>(leftFlange.left);
    g.baseLine = static_cast<float>(formerLine.top);
    g.lineStart = static_cast<float>(formerLine.left);
    return g;
  }();
  return geometry;
}

}  // namespace kelvane::form

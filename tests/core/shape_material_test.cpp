#include <gtest/gtest.h>


#include "core/materials.h"

namespace kelvane {
namespace {

TEST(Materials, ConstantsOfTheThreeConductors) {
  struct Case {
    ConductorMaterial material;
    double resistivity, density;
  };
  for (const Case& c : {Case{ConductorMaterial::Copper, 17.241, 8.96},
                        Case{ConductorMaterial::Aluminium, 27.81, 2.699},
                        Case{ConductorMaterial::CopperCladAluminium85, 25.471, 3.638}}) {
    const MaterialValues v = MaterialConstants(c.material);
    EXPECT_EQ(v.resistivity, c.resistivity);
    EXPECT_EQ(v.density, c.density);
  }
}

}  // namespace
}  // namespace kelvane

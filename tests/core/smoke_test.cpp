#include <gtest/gtest.h>

#include "core/materials.h"

TEST(Build, LinksCore) { SUCCEED(); }

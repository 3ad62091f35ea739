#include "core/materials.h"

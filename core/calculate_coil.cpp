#include "core/calculate_coil.h"

#include "core/weight_resistance.h"

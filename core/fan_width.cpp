#include "core/fan_width.h"

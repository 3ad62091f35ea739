#include "core/winding_arrangement.h"

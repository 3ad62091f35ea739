#include "core/former_shape.h"

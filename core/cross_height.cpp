#include "core/cross_height.h"

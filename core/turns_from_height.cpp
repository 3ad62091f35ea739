#include "core/turns_from_height.h"

#include "core/wire_length.h"

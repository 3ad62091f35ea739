#include "core/diagram_layout.h"

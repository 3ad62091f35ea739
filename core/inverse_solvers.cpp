#include "core/inverse_solvers.h"

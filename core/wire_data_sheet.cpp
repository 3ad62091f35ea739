#include "core/wire_data_sheet.h"

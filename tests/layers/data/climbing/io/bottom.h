#pragma once

// Climbs the stack: io lies below export.
#include "core/export/top.h"

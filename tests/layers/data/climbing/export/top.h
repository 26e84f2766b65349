#pragma once

// The core includes nothing of ui.
#include "ui/app/window.h"

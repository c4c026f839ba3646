// Common controls: list view, tab control, date-time picker, toolbar, status bar, image lists.
#pragma once

#include "win32.h"

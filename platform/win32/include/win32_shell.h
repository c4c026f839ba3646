// SHELL32, comdlg32 and ole32 shell links.
#pragma once

#include "win32.h"

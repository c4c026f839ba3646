// Builds: the view framework reaches its own headers and the store's.
#include "shell/ViewSwitch.h"
#include "store/Opp_DetailClass.h"
#include "shell/ListPageClass.h"

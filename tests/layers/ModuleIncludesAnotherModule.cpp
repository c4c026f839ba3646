// Must not build: a module sees no page of another module.
#include "views/opportunities/Opp_ListPageClass.h"

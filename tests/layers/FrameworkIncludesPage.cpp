// Must not build: the view framework's include roots hold no page header.
#include "views/opportunities/Opp_ListPageClass.h"

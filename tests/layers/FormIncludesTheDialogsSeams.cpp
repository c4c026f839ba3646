// Builds: a module sees its own folder and the dialogs' procedures.
#include "dialogs/RelatedPages.h"
#include "views/tasks/Tas_DetailDialogClass.h"
#include "views/tasks/Tas_ListPageClass.h"

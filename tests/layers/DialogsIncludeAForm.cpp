// Must not build: the dialogs see a record form only through its seam.
#include "views/tasks/Tas_DetailDialogClass.h"

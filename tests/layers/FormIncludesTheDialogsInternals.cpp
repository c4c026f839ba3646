// Must not build: a record form sees the dialogs' procedures, not the pages
// behind them.
#include "dialogs/RelatedListPage.h"

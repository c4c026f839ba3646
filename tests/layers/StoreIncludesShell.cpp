// Must not build: the record store's include roots hold nothing above it.
#include "shell/ListViewClass.h"

// The resource table of an executable that has no resource scripts. Kept in a
// translation unit of its own: the linker takes it from the library only when
// no generated table defines the symbol.
#include "../src/res/resdata.h"

extern "C" __attribute__((weak)) const w32res::Table w32_resource_table = {nullptr, 0, nullptr, 0};

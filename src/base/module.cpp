/* The library's own module handle, which the entry point notes at load. */
#include "base/module.h"

HINSTANCE ModuleInstance;

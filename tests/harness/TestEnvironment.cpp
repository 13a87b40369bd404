#include "tests/harness/TestEnvironment.h"

#include <windows.h>

void InitTestEnvironment() {}

// The keyboard of the tests that drive a program as a process of its own.
#include "tests/support/X11UserDefinitions.h"

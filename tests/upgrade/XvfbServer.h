#include "tests/support/TestDisplay.h" // the test display helper moved there

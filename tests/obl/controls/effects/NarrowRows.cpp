// With VENDARO_NARROW_ROWS set, the suite runs the narrower row paths the processors
// without 512-bit byte permutes take (CTest runs it both ways).
#include "obl/controls/effects/OblbmpWide.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

class NarrowRows : public testing::Environment {
public:
    void SetUp() override { oblbmp::wide::SwitchOff(std::getenv("VENDARO_NARROW_ROWS") != nullptr); }
};

const testing::Environment* const kNarrowRows = testing::AddGlobalTestEnvironment(new NarrowRows);

} // namespace

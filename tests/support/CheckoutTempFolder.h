// A folder under the test temporary folder named for this checkout, so that the tests of
// several working copies run at once never share lock files (and reruns reuse the folder).
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>

inline std::string CheckoutTempFolder(const std::string& name)
{
    const std::size_t checkout = std::hash<std::string>{}(VENDARO_SOURCE_DIR);
    return ::testing::TempDir() + name + "-" + std::to_string(checkout);
}

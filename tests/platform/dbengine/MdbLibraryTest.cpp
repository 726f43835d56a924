// libmdb is loaded on first use, by the name the build found it by: every function the
// Access driver reads through is there.
#include "platform/dbengine/MdbLibrary.h"

#include <gtest/gtest.h>

TEST(MdbLibrary, LoadsOnceWithEveryFunctionTheDriverCalls)
{
    std::string problem = "not asked yet";
    const MdbLibrary* library = MdbLoad(problem);
    ASSERT_NE(library, nullptr) << problem;
    EXPECT_EQ(problem, "");
    for (const void* function :
         {reinterpret_cast<const void*>(library->open_buffer), reinterpret_cast<const void*>(library->close),
          reinterpret_cast<const void*>(library->read_catalog), reinterpret_cast<const void*>(library->is_user_table),
          reinterpret_cast<const void*>(library->read_table), reinterpret_cast<const void*>(library->read_columns),
          reinterpret_cast<const void*>(library->free_tabledef), reinterpret_cast<const void*>(library->bind_column),
          reinterpret_cast<const void*>(library->rewind_table), reinterpret_cast<const void*>(library->fetch_row),
          reinterpret_cast<const void*>(library->numeric_to_string), reinterpret_cast<const void*>(library->col_to_string),
          reinterpret_cast<const void*>(library->uuid_to_string), reinterpret_cast<const void*>(library->ole_read_full),
          reinterpret_cast<const void*>(library->free)})
        EXPECT_NE(function, nullptr);
    EXPECT_EQ(MdbLoad(problem), library) << "loaded once";
}

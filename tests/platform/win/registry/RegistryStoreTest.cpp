#include "platform/win/registry/RegistryStore.h"

#include "TempRegistry.h"

#include <cstdlib>
#include <fstream>

namespace {

class RegistryStoreTest : public TempRegistry {};

TEST_F(RegistryStoreTest, DefaultFileLiesUnderHome)
{
    const char* saved = std::getenv("HOME");
    const std::string previous = saved ? saved : "";
    setenv("HOME", folder_.c_str(), 1);
    EXPECT_EQ(DefaultRegistryFileName(), folder_ + "/.vendaro/registry");
    if (saved) setenv("HOME", previous.c_str(), 1);
    else unsetenv("HOME");
}

TEST_F(RegistryStoreTest, SavingCreatesMissingFoldersAndWritesOnlyAfterAChange)
{
    const std::string file = folder_ + "/deep/er/registry";
    RegistryStore store(file);
    EXPECT_TRUE(store.Save());
    EXPECT_FALSE(std::filesystem::exists(file));
    bool created;
    store.Root(1)->AddSubKey("Software", created);
    store.MarkChanged();
    ASSERT_TRUE(store.Save());
    std::ifstream in(file);
    std::string first, second;
    std::getline(in, first);
    std::getline(in, second);
    EXPECT_EQ(first, "VENDARO-REGISTRY 1");
    EXPECT_EQ(second, "K HKEY_CURRENT_USER\\Software");
    EXPECT_FALSE(std::filesystem::exists(file + ".new"));
    RegistryStore again(file);
    EXPECT_NE(again.Root(1)->FindSubKey("software"), nullptr);
    EXPECT_EQ(again.Root(2)->FindSubKey("software"), nullptr);
}

} // namespace

#include "obl/core/base/OBLObject.h"

#include "tests/support/NotifyCounter.h"

#include <gtest/gtest.h>

TEST(OBLObject, ChangeProtocol)
{
    const struct {
        const char* name;
        void (*run)(TOBLObject&);
        int notifications;
    } cases[] = {
        {"change", [](TOBLObject& o) { o.Change(); }, 1},
        {"nested object's change bubbles through GetChange", [](TOBLObject& o) { o.GetChange(nullptr); }, 1},
        {"inside an update", [](TOBLObject& o) { o.BeginUpdate(); o.Change(); }, 0},
        {"end with notify", [](TOBLObject& o) { o.BeginUpdate(); o.Change(); o.Change(); o.EndUpdate(true); }, 1},
        {"end without notify", [](TOBLObject& o) { o.BeginUpdate(); o.Change(); o.EndUpdate(false); }, 0},
        {"the bracket is a flag, not a counter",
         [](TOBLObject& o) { o.BeginUpdate(); o.BeginUpdate(); o.EndUpdate(false); o.Change(); }, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TOBLObject object;
        NotifyCounter counter;
        object.SetOnChange(TNotifyEvent(&counter, &NotifyCounter::Changed));
        c.run(object);
        EXPECT_EQ(counter.count, c.notifications);
        if (c.notifications > 0) {
            EXPECT_EQ(counter.lastSender, &object);
        }
    }
}

TEST(OBLObject, UnassignedHandlerAndSummary)
{
    TOBLObject object;
    EXPECT_NO_THROW(object.Change());
    EXPECT_EQ(object.GetSetStr(), "");
    EXPECT_FALSE(object.OnChange().Assigned());
}

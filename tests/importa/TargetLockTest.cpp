// The target while another program holds a write transaction open on it: the import waits
// a few seconds for the lock, then fails with its box and the engine's reason.
#include "tests/importa/ImportaFixture.h"

#include <chrono>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

class TargetLock : public ImportaFixture {
protected:
    // Another program's connection with a write transaction open on the target.
    std::unique_ptr<DbiConnection> HoldTheTarget() const
    {
        auto other = OpenData();
        other->StartTransaction();
        other->Execute("update studio set cap = cap");
        return other;
    }

    double SecondsOfTheImport(TForm1* form)
    {
        const Clock::time_point start = Clock::now();
        RunImport({form->CheckBox2});
        return std::chrono::duration<double>(Clock::now() - start).count();
    }
};

TEST_F(TargetLock, AShortLockIsWaitedFor)
{
    TForm1* form = Start();
    Connect();
    std::unique_ptr<DbiConnection> other = HoldTheTarget();
    std::thread release([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(2500));
        other->Commit();
    });
    const double seconds = SecondsOfTheImport(form);
    release.join();
    EXPECT_EQ(boxes, std::vector<ShownBox>{kCompletedBox});
    EXPECT_GE(seconds, 2.0);
    StopProgram();
    EXPECT_EQ(Target("select count(*) from fornitori"), (TextRows{{"3"}}));
}

TEST_F(TargetLock, ALockThatStaysFailsAfterABoundedWait)
{
    TForm1* form = Start();
    Connect();
    std::unique_ptr<DbiConnection> other = HoldTheTarget();
    testing::internal::CaptureStderr();
    const double seconds = SecondsOfTheImport(form);
    const std::string errors = testing::internal::GetCapturedStderr();
    other->Rollback();
    EXPECT_EQ(boxes, std::vector<ShownBox>{kFailedBox});
    EXPECT_GE(seconds, 4.0);
    EXPECT_LT(seconds, 20.0);
    EXPECT_NE(errors.find("Importa: the import stopped: "), std::string::npos) << errors;
    EXPECT_NE(errors.find("locked"), std::string::npos) << errors;
    StopProgram();
    EXPECT_EQ(Target("select count(*) from fornitori"), (TextRows{{"0"}}));
}

} // namespace

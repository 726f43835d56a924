#include "platform/classlib/Classes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string>* gLog = nullptr;

void Log(const std::string& entry)
{
    if (gLog)
        gLog->push_back(entry);
}

class TProbe : public TComponent {
    VENDARO_CLASS(TProbe, TComponent)
public:
    explicit TProbe(TComponent* owner) : TComponent(owner) {}
    ~TProbe() override { Log("destroy " + std::string(Name().str())); }

    void Notification(TComponent* component, TOperation operation) override
    {
        TComponent::Notification(component, operation);
        Log(std::string(Name().str()) + (operation == opInsert ? " +" : " -") + component->Name().str() +
            (component->ComponentState().Contains(csDestroying) ? "!" : ""));
        if (operation == opRemove && component == watched)
            watched = nullptr;
    }

    TComponent* watched = nullptr;
};

class ComponentTest : public ::testing::Test {
protected:
    void SetUp() override { gLog = &log; }
    void TearDown() override { gLog = nullptr; }
    TProbe* Make(TComponent* owner, const char* name)
    {
        auto* p = new TProbe(owner);
        p->SetName(name);
        return p;
    }
    std::vector<std::string> log;
};

} // namespace

TEST_F(ComponentTest, OwnerListsNamesAndIndexes)
{
    TOwned<TProbe> form(Make(nullptr, "Form"));
    TProbe* a = Make(form.get(), "A");
    TProbe* b = Make(form.get(), "B");
    EXPECT_EQ(form->ComponentCount(), 2);
    EXPECT_EQ(form->Components(1), b);
    EXPECT_EQ(a->Owner(), form.get());
    EXPECT_EQ(b->ComponentIndex(), 1);
    EXPECT_EQ(form->FindComponent("b"), b);
    EXPECT_EQ(form->FindComponent("C"), nullptr);
    EXPECT_EQ(form->FindComponent(""), nullptr);
    EXPECT_THROW(form->Components(2), EListError);

    b->SetComponentIndex(-5);
    EXPECT_EQ(form->Components(0), b);
    b->SetComponentIndex(99);
    EXPECT_EQ(form->Components(1), b);

    try {
        b->SetName("a");
        FAIL();
    } catch (const EComponentError& e) {
        EXPECT_EQ(e.Message(), "A component named a already exists");
    }
    EXPECT_EQ(b->Name(), "B");
    EXPECT_THROW(b->SetName("1st"), EComponentError);
    EXPECT_THROW(b->SetName("with space"), EComponentError);
    b->SetName("b"); // a change of case only is no clash with itself
    EXPECT_EQ(b->Name(), "b");
    EXPECT_EQ(b->GetNamePath(), "b");
}

TEST_F(ComponentTest, InsertAndRemoveNotifyEveryComponentOfTheOwner)
{
    TOwned<TProbe> form(Make(nullptr, "Form"));
    Make(form.get(), "A");
    log.clear();
    TProbe* b = new TProbe(form.get());
    EXPECT_EQ(log, (std::vector<std::string>{"A +", "Form +"}));
    b->SetName("B");

    log.clear();
    TProbe* other = Make(nullptr, "Other");
    form->InsertComponent(other);
    EXPECT_EQ(other->Owner(), form.get());
    // Every component of the owner hears, the newcomer included (it is in the list by then).
    EXPECT_EQ(log, (std::vector<std::string>{"A +Other", "B +Other", "Other +Other", "Form +Other"}));
    log.clear();
    form->RemoveComponent(other);
    EXPECT_EQ(other->Owner(), nullptr);
    EXPECT_EQ(log, (std::vector<std::string>{"A -Other", "B -Other", "Other -Other", "Form -Other"}));
    other->Free();
}

TEST_F(ComponentTest, FreeNotifiesWhileWholeAndFreesOwnedLastFirst)
{
    TProbe* form = Make(nullptr, "Form");
    TProbe* a = Make(form, "A");
    Make(form, "B");
    Make(a, "A1");
    TOwned<TProbe> outsider(Make(nullptr, "Outsider"));
    outsider->watched = a;
    a->FreeNotification(outsider.get());
    EXPECT_TRUE(a->ComponentState().Contains(csFreeNotification));

    log.clear();
    a->Free();
    // The outsider, then the owner's components (down through what they own) hear of A
    // while it is whole but marked destroying; then A's own components go.
    EXPECT_EQ(log, (std::vector<std::string>{"Outsider -A!", "A1 -A!", "A -A!", "B -A!", "Form -A!", "destroy A",
                                             "destroy A1"}));
    EXPECT_EQ(outsider->watched, nullptr);
    EXPECT_EQ(form->ComponentCount(), 1);

    log.clear();
    form->Free();
    EXPECT_EQ(log, (std::vector<std::string>{"destroy Form", "destroy B"}));
}

TEST_F(ComponentTest, RemovedFreeNotificationIsNotSent)
{
    TOwned<TProbe> a(Make(nullptr, "A"));
    TProbe* b = Make(nullptr, "B");
    b->FreeNotification(a.get());
    b->RemoveFreeNotification(a.get());
    log.clear();
    b->Free();
    EXPECT_EQ(log, (std::vector<std::string>{"destroy B"}));
}

TEST_F(ComponentTest, MutualFreeNotificationSurvivesEitherOrder)
{
    TProbe* a = Make(nullptr, "A");
    TProbe* b = Make(nullptr, "B");
    a->FreeNotification(b);
    log.clear();
    b->Free();
    EXPECT_EQ(log, (std::vector<std::string>{"A -B!", "destroy B"}));
    log.clear();
    a->Free();
    EXPECT_EQ(log, (std::vector<std::string>{"destroy A"}));
}

TEST_F(ComponentTest, DeleteWithoutFreeStillDetaches)
{
    TOwned<TProbe> form(Make(nullptr, "Form"));
    TProbe* a = Make(form.get(), "A");
    delete a;
    EXPECT_EQ(form->ComponentCount(), 0);
}

// Deleting tells the peers and the owner's components while the component is whole, as
// Free does: before any destructor has run ("destroy A" comes last).
TEST_F(ComponentTest, DeleteNotifiesWhileTheComponentIsWhole)
{
    TOwned<TProbe> form(Make(nullptr, "Form"));
    TProbe* a = Make(form.get(), "A");
    TOwned<TProbe> peer(Make(nullptr, "Peer"));
    a->FreeNotification(peer.get());
    peer->watched = a;
    log.clear();
    delete a;
    EXPECT_EQ(peer->watched, nullptr);
    EXPECT_EQ(log, (std::vector<std::string>{"Peer -A!", "A -A!", "Form -A!", "destroy A"}));
}

TEST_F(ComponentTest, DesigningStateReachesOwnedComponents)
{
    TOwned<TProbe> form(Make(nullptr, "Form"));
    TProbe* a = Make(form.get(), "A");
    form->SetDesigning(true);
    EXPECT_TRUE(a->ComponentState().Contains(csDesigning));
    TProbe* late = Make(form.get(), "Late");
    EXPECT_TRUE(late->ComponentState().Contains(csDesigning));
    form->SetDesigning(false, false);
    EXPECT_FALSE(form->ComponentState().Contains(csDesigning));
    EXPECT_TRUE(a->ComponentState().Contains(csDesigning));
    EXPECT_TRUE(form->ComponentStyle().Contains(csInheritable));
}

TEST(TBitsTest, BitsSizeAndOpenBit)
{
    TBits bits;
    EXPECT_EQ(bits.OpenBit(), 0);
    bits.SetBits(3, true);
    EXPECT_EQ(bits.Size(), 4);
    EXPECT_FALSE(bits.Bits(2));
    EXPECT_TRUE(bits.Bits(3));
    EXPECT_EQ(bits.OpenBit(), 0);
    for (int i = 0; i < 3; ++i)
        bits.SetBits(i, true);
    EXPECT_EQ(bits.OpenBit(), 4);
    bits.SetBits(1, false);
    EXPECT_EQ(bits.OpenBit(), 1);
    EXPECT_THROW(bits.Bits(4), EBitsError);
    EXPECT_THROW(bits.Bits(-1), EBitsError);
    EXPECT_THROW(bits.SetBits(-1, true), EBitsError);
    bits.SetSize(2);
    EXPECT_EQ(bits.Size(), 2);
    EXPECT_THROW(bits.Bits(3), EBitsError);
}

#include "platform/classlib/Classes.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

int gDestroyed = 0;
int gBeforeDestruction = 0;
AnsiString gSoundBeforeDestruction;

class TAnimal : public TPersistent {
    VENDARO_CLASS(TAnimal, TPersistent)
public:
    TAnimal() = default;
    ~TAnimal() override { ++gDestroyed; }
    void BeforeDestruction() override
    {
        ++gBeforeDestruction;
        gSoundBeforeDestruction = Sound();
    }
    virtual AnsiString Sound() const { return "..."; }
};

class TDog : public TAnimal {
    VENDARO_CLASS(TDog, TAnimal)
public:
    TDog() = default;
    AnsiString Sound() const override { return "woof"; }
};

class TRefusing : public TAnimal {
    VENDARO_CLASS(TRefusing, TAnimal)
public:
    TRefusing() { throw Exception("refused"); }
};

class TShape : public TObject {
    VENDARO_CLASS(TShape, TObject)
public:
    virtual int Corners() const = 0;
};

class TListener : public TObject {
    VENDARO_CLASS(TListener, TObject)
public:
    TListener() = default;
    void Heard(TObject* sender) { last = sender; ++calls; }
    void Other(TObject* sender) { ++otherCalls; }
    TObject* last = nullptr;
    int calls = 0;
    int otherCalls = 0;
};

} // namespace

TEST(TObjectTest, MetaclassNamesParentsAndInheritance)
{
    TDog dog;
    EXPECT_EQ(dog.ClassName(), "TDog");
    EXPECT_EQ(dog.ClassParent(), TAnimal::StaticClass());
    EXPECT_EQ(TAnimal::StaticClass()->ClassParent(), TPersistent::StaticClass());
    EXPECT_EQ(TPersistent::StaticClass()->ClassParent(), TObject::StaticClass());
    EXPECT_EQ(TObject::StaticClass()->ClassParent(), nullptr);

    EXPECT_TRUE(dog.InheritsFrom(TDog::StaticClass()));
    EXPECT_TRUE(dog.InheritsFrom(TPersistent::StaticClass()));
    EXPECT_TRUE(dog.InheritsFrom(TObject::StaticClass()));
    EXPECT_FALSE(dog.InheritsFrom(TStrings::StaticClass()));
    EXPECT_FALSE(TAnimal::StaticClass()->InheritsFrom(TDog::StaticClass()));
}

TEST(TObjectTest, VirtualConstructorCreatesTheMostDerivedClass)
{
    TClass cls = TDog::StaticClass();
    TOwned<TObject> made(cls->Create());
    ASSERT_NE(dynamic_cast<TDog*>(made.get()), nullptr);
    EXPECT_EQ(static_cast<TAnimal*>(made.get())->Sound(), "woof");

    EXPECT_FALSE(TShape::StaticClass()->CanCreate());
    EXPECT_THROW(TShape::StaticClass()->Create(), EAbstractError);
}

TEST(TObjectTest, FreeRunsBeforeDestructionAndIsSafeOnNull)
{
    gDestroyed = gBeforeDestruction = 0;
    TAnimal* animal = new TDog();
    FreeAndNil(animal);
    EXPECT_EQ(animal, nullptr);
    EXPECT_EQ(gBeforeDestruction, 1);
    EXPECT_EQ(gDestroyed, 1);

    FreeAndNil(animal);
    FreeObject(nullptr);
    EXPECT_EQ(gDestroyed, 1);
}

// Whichever way an object is ended, BeforeDestruction runs once on the whole object
// (its most derived class still answers), then the destructors.
TEST(TObjectTest, EveryWayOfEndingRunsBeforeDestructionOnTheWholeObject)
{
    struct TWay {
        const char* name;
        void (*end)(TAnimal* animal);
    };
    const TWay ways[] = {
        {"Free", [](TAnimal* a) { a->Free(); }},
        {"FreeObject", [](TAnimal* a) { FreeObject(a); }},
        {"FreeAndNil", [](TAnimal* a) { FreeAndNil(a); }},
        {"delete", [](TAnimal* a) { delete a; }},
        {"delete as TObject", [](TAnimal* a) { delete static_cast<TObject*>(a); }},
        {"unique_ptr", [](TAnimal* a) { std::unique_ptr<TAnimal> owned(a); }},
        {"TOwned", [](TAnimal* a) { TOwned<TAnimal> owned(a); }},
    };
    for (const TWay& way : ways) {
        SCOPED_TRACE(way.name);
        gDestroyed = gBeforeDestruction = 0;
        gSoundBeforeDestruction = "";
        way.end(new TDog());
        EXPECT_EQ(gBeforeDestruction, 1);
        EXPECT_EQ(gDestroyed, 1);
        EXPECT_EQ(gSoundBeforeDestruction, "woof");
    }
}

// An object that is not on the heap ends by its destructor alone.
TEST(TObjectTest, ALocalObjectEndsByItsDestructor)
{
    gDestroyed = gBeforeDestruction = 0;
    { TDog dog; }
    EXPECT_EQ(gBeforeDestruction, 0);
    EXPECT_EQ(gDestroyed, 1);
}

// The memory of an object whose constructor raises is given back (the sanitizer build
// would report it lost).
TEST(TObjectTest, AConstructorThatRaisesGivesItsMemoryBack)
{
    gDestroyed = gBeforeDestruction = 0;
    EXPECT_THROW(new TRefusing(), Exception);
    EXPECT_EQ(gBeforeDestruction, 0);
    EXPECT_EQ(gDestroyed, 1);
}

TEST(TObjectTest, ClassRegistryFindsByNameCaseInsensitively)
{
    RegisterClass(TDog::StaticClass());
    EXPECT_EQ(FindClass("TDog"), TDog::StaticClass());
    EXPECT_EQ(GetClass("tdog"), TDog::StaticClass());
    // Ancestors come with the class, up to TPersistent.
    EXPECT_EQ(GetClass("TAnimal"), TAnimal::StaticClass());
    EXPECT_EQ(GetClass("TPersistent"), TPersistent::StaticClass());
    EXPECT_EQ(GetClass("TObject"), nullptr);

    EXPECT_EQ(GetClass("TCat"), nullptr);
    try {
        FindClass("TCat");
        FAIL() << "FindClass of an unknown name must raise";
    } catch (const EClassNotFound& e) {
        EXPECT_EQ(e.Message(), "Class TCat not found");
    }

    UnRegisterClass(TDog::StaticClass());
    EXPECT_EQ(GetClass("TDog"), nullptr);
}

TEST(TEventTest, AssignedEqualityAndCall)
{
    TListener a, b;
    TNotifyEvent none;
    TNotifyEvent toA(&a, &TListener::Heard);
    TNotifyEvent toAOther(&a, &TListener::Other);
    TNotifyEvent toB(&b, &TListener::Heard);

    EXPECT_FALSE(Assigned(none));
    EXPECT_TRUE(Assigned(toA));
    EXPECT_TRUE(toA == TNotifyEvent(&a, &TListener::Heard));
    EXPECT_FALSE(toA == toAOther);
    EXPECT_FALSE(toA == toB);
    EXPECT_TRUE(none == TNotifyEvent(nullptr));

    toA(&b);
    EXPECT_EQ(a.calls, 1);
    EXPECT_EQ(a.last, &b);
    EXPECT_EQ(b.calls, 0);
    none(&a); // an unassigned event does nothing
}

TEST(TEventTest, UntypedMethodRoundTripChecksTheSignature)
{
    TListener a;
    TMethod m = TNotifyEvent(&a, &TListener::Heard).Method();
    EXPECT_EQ(m.Data, &a);

    TNotifyEvent back(m);
    back(nullptr);
    EXPECT_EQ(a.calls, 1);

    using TIntEvent = TEvent<int>;
    TIntEvent mismatched(m);
    EXPECT_FALSE(mismatched.Assigned());
}

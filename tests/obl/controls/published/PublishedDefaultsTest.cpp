// The published defaults of every class of the library, and every published value through a
// form description and back. A fresh instance, made as a form description makes it (owned by
// a form, a control placed on it), holds the default each of its properties declares and has
// nothing to store for the properties that decide that by a predicate, so that a new
// component writes only the properties that are stored always. Then each published value,
// inherited ones included, goes through a description: a value other than the default, and
// the default itself after another value, each reads back as it was written, with every
// other published value of the component as it was. The table holds every class the
// library's headers declare; the test registers them and walks the published properties of
// each one that can be made, into the objects it owns and the items of its collections.
#include "tests/obl/controls/published/LibraryClasses.h"
#include "tests/obl/controls/graphic/GraphicFixture.h"
#include "tests/support/FormText.h"

#include <iomanip>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

// One published value of a component: the owned objects that lead to the object holding it
// (each a property, and the item of a collection when it is one) and its property there.
struct TLeaf {
    struct TStep {
        PPropInfo Prop;
        int Item;  // the collection item, or -1 for an object that is not a collection
    };
    std::vector<TStep> Chain;
    PPropInfo Prop = nullptr;
    std::string Path;
};

// A value of any published kind: the ordinal, the number or the text, by the property's kind.
struct TValue {
    std::int64_t Ord = 0;
    double Real = 0;
    AnsiString Text;
};

bool IsValueKind(TTypeKind kind) { return IsOrdinalKind(kind) || kind == tkFloat || IsStringKind(kind); }

// The object that holds the leaf's value; null when the chain breaks.
TObject* Holder(TObject* component, const TLeaf& leaf)
{
    TObject* object = component;
    for (const TLeaf::TStep& step : leaf.Chain) {
        object = object ? GetObjectProp(object, step.Prop) : nullptr;
        if (object && step.Item >= 0) {
            auto* collection = dynamic_cast<TCollection*>(object);
            object = collection && step.Item < collection->Count() ? collection->Items(step.Item) : nullptr;
        }
    }
    return object;
}

TValue GetValue(TObject* holder, PPropInfo prop)
{
    TValue value;
    if (IsOrdinalKind(prop->Kind()))
        value.Ord = GetOrdProp(holder, prop);
    else if (prop->Kind() == tkFloat)
        value.Real = GetFloatProp(holder, prop);
    else
        value.Text = GetStrProp(holder, prop);
    return value;
}

void SetValue(TObject* holder, PPropInfo prop, const TValue& value)
{
    if (IsOrdinalKind(prop->Kind()))
        SetOrdProp(holder, prop, value.Ord);
    else if (prop->Kind() == tkFloat)
        SetFloatProp(holder, prop, value.Real);
    else
        SetStrProp(holder, prop, value.Text);
}

std::string ValueText(PPropInfo prop, const TValue& value)
{
    if (IsOrdinalKind(prop->Kind()))
        return std::to_string(value.Ord);
    if (prop->Kind() == tkFloat) {
        std::ostringstream text;
        text << std::setprecision(17) << value.Real;
        return text.str();
    }
    return "'" + value.Text.str() + "'";
}

// The value a property is measured from: the default it declares, or the one a fresh instance
// holds (the empty text and 0 are a text's and a number's defaults in a description).
TValue Reference(PPropInfo prop, const TValue& fresh)
{
    TValue value = fresh;
    if (prop->HasDefault) {
        value.Ord = prop->Default;
        value.Real = prop->FloatDefault;
    }
    return value;
}

// A value of the property other than the reference, one step away from it, that the
// property's type holds.
TValue OtherThan(PPropInfo prop, const TValue& reference)
{
    TValue value = reference;
    const PTypeInfo type = prop->PropType;
    switch (prop->Kind()) {
    case tkEnumeration: {
        const auto count = static_cast<std::int64_t>(type->EnumNames.size());
        value.Ord = count > 1 ? (reference.Ord + 1) % count : reference.Ord;
        break;
    }
    case tkSet:
        value.Ord = reference.Ord ^ 1;
        break;
    case tkChar:
        value.Ord = reference.Ord ? 0 : '*';
        break;
    case tkFloat:
        value.Real = reference.Real + 0.5;
        break;
    case tkString:
    case tkLString:
    case tkWString:
        value.Text = reference.Text.IsEmpty() ? AnsiString("Probe text") : AnsiString();
        break;
    default:
        if (type->Name == "TColor")
            value.Ord = reference.Ord == clRed ? clBlue : clRed;
        else
            value.Ord = reference.Ord < prop->ReadMax ? reference.Ord + 1 : reference.Ord - 1;
    }
    return value;
}

// Properties that are never stored (information texts): nothing reads them back.
bool NeverStored(PPropInfo prop) { return !prop->StoredFunction && !prop->StoredConstant; }

// Whether the writer writes the value: stored, and not its declared default (a text, not
// empty; a number, not 0 without a declared default).
bool IsWritten(TObject* holder, PPropInfo prop, const TValue& value)
{
    if (!IsStoredProp(holder, prop))
        return false;
    if (IsOrdinalKind(prop->Kind()))
        return !prop->HasDefault || value.Ord != prop->Default;
    if (prop->Kind() == tkFloat)
        return !IsDefaultFloatValue(prop, value.Real);
    return !value.Text.IsEmpty();
}

// A value that follows others while its predicate keeps it out of the description (a colour
// taken from the parent, a scroll range from the children): what it reads back as is
// theirs to decide. Properties whose predicate compares them with the class's own start
// (ParentColor, TabStop, Visible) declare no default and are always compared.
bool FollowsOthers(TObject* holder, PPropInfo prop)
{
    return prop->StoredFunction && prop->HasDefault && !prop->StoredFunction(holder);
}

class PublishedDefaultsTest : public GraphicFixture {
protected:
    void SetUp() override
    {
        GraphicFixture::SetUp();
        RegisterClass(TForm::StaticClass());
        for (TClass cls : LibraryClasses())
            if (cls->InheritsFrom(TPersistent::StaticClass()) && !GetClass(cls->ClassName()))
                RegisterClass(cls);
    }
    void TearDown() override
    {
        for (TClass cls : LibraryClasses())
            UnRegisterClass(cls);
        GraphicFixture::TearDown();
    }

    // The classes a form description can hold, as the registry names them.
    static std::vector<TClass> ComponentClasses()
    {
        std::vector<TClass> classes;
        for (TClass listed : LibraryClasses()) {
            TClass cls = GetClass(listed->ClassName());
            if (cls && cls->InheritsFrom(TComponent::StaticClass()) && cls->CanCreate() &&
                cls != TOBLApplication::StaticClass())
                classes.push_back(cls);
        }
        return classes;
    }

    // Walks the published values of the object, into the objects it owns and the items of its
    // collections (one is added to an empty collection).
    static void CollectLeaves(TObject* object, const std::vector<TLeaf::TStep>& chain, const std::string& path,
                              std::vector<TLeaf>& leaves)
    {
        if (chain.size() > 4)
            return;
        for (PPropInfo prop : GetPropList(object->ClassType())) {
            const std::string name = path + prop->Name.str();
            if (IsValueKind(prop->Kind())) {
                if (prop->IsWritable())
                    leaves.push_back(TLeaf{chain, prop, name});
                continue;
            }
            if (prop->Kind() != tkClass)
                continue;
            TObject* owned = GetObjectProp(object, prop);
            if (!dynamic_cast<TPersistent*>(owned) || dynamic_cast<TComponent*>(owned))
                continue;
            std::vector<TLeaf::TStep> next = chain;
            if (auto* collection = dynamic_cast<TCollection*>(owned)) {
                if (collection->Count() == 0)
                    collection->Add();
                next.push_back({prop, 0});
                CollectLeaves(collection->Items(0), next, name + "[0].", leaves);
            } else {
                next.push_back({prop, -1});
                CollectLeaves(owned, next, name + ".", leaves);
            }
        }
    }

    // An instance made as a form description makes it: owned by the form, a control placed on
    // it, named, with an item in each of its collections.
    static TComponent* Make(TClass cls, TForm* host)
    {
        auto* component = static_cast<TComponent*>(cls->Create(host));
        if (auto* control = dynamic_cast<TControl*>(component))
            control->SetParent(host);
        component->SetName("Probe");
        std::vector<TLeaf> unused;
        CollectLeaves(component, {}, "", unused);
        return component;
    }

    // The published values, but those that follow others.
    static std::map<std::string, std::string> Snapshot(TObject* component, const std::vector<TLeaf>& leaves)
    {
        std::map<std::string, std::string> values;
        for (const TLeaf& leaf : leaves)
            if (TObject* holder = Holder(component, leaf); holder && !FollowsOthers(holder, leaf.Prop))
                values[leaf.Path] = ValueText(leaf.Prop, GetValue(holder, leaf.Prop));
        return values;
    }

    static TOwned<TForm> NewHost()
    {
        TOwned<TForm> host(new TForm(nullptr));
        host->SetName("Host");
        return host;
    }

    // Sets the values one after the other on a new instance on a shown form, writes the form
    // and reads it back; each published value that reads back otherwise is a slip. Answers
    // whether the property took the values.
    bool RoundTrip(TClass cls, const std::vector<TLeaf>& leaves, const TLeaf& leaf, const std::vector<TValue>& values)
    {
        std::string what = std::string(cls->ClassName().str()) + "." + leaf.Path + " set to";
        for (const TValue& value : values)
            what += " " + ValueText(leaf.Prop, value);
        std::map<std::string, std::string> before;
        std::string text;
        {
            TOwned<TForm> host = NewHost();
            TComponent* probe = Make(cls, host.get());
            host->Show();
            try {
                for (const TValue& value : values)
                    SetValue(Holder(probe, leaf), leaf.Prop, value);
            } catch (const Exception&) {
                return false;  // a value the property refuses is not the concern here
            }
            before = Snapshot(probe, leaves);
            text = WriteFormText(host.get());
        }
        try {
            TOwned<TComponent> copy(ReadFormText(text));
            const std::map<std::string, std::string> after = Snapshot(copy->FindComponent("Probe"), leaves);
            for (const auto& [path, value] : before) {
                const auto found = after.find(path);
                const std::string back = found == after.end() ? "as following others" : found->second;
                if (back != value)
                    slips.push_back(what + ": " + path + " was " + value + ", reads back " + back);
            }
        } catch (const Exception& e) {
            slips.push_back(what + ": the description cannot be read (" + e.Message().str() + ")");
        }
        return true;
    }

    std::string AllSlips() const
    {
        std::string all;
        for (const std::string& slip : slips)
            all += "\n  " + slip;
        return all;
    }

    std::vector<std::string> slips;
};

TEST_F(PublishedDefaultsTest, TheTableHoldsEveryClassOfTheLibrary)
{
    std::set<std::string> listed;
    for (TClass cls : LibraryClasses())
        listed.insert(cls->ClassName().str());
    for (const std::string& name : DeclaredClasses())
        EXPECT_EQ(listed.count(name), 1u) << name << " is declared in a header of the library but not listed";
}

TEST_F(PublishedDefaultsTest, AFreshInstanceHoldsEveryDeclaredDefault)
{
    int made = 0;
    for (TClass cls : LibraryClasses()) {
        // Items come with their collections, and objects that are not persistent publish
        // nothing; the classes that cannot be made are walked in their descendants.
        if (!cls->InheritsFrom(TPersistent::StaticClass()) || cls->InheritsFrom(TCollectionItem::StaticClass()) ||
            !cls->CanCreate() || cls == TOBLApplication::StaticClass())
            continue;
        TOwned<TForm> host = NewHost();
        const bool component = cls->InheritsFrom(TComponent::StaticClass());
        TObject* object = component ? Make(cls, host.get()) : cls->Create(nullptr);
        std::vector<TLeaf> leaves;
        CollectLeaves(object, {}, "", leaves);
        for (const TLeaf& leaf : leaves) {
            TObject* holder = Holder(object, leaf);
            const PPropInfo prop = leaf.Prop;
            // A control's place in its parent's tab order is written once it has a parent.
            if (prop->Name == "TabOrder")
                continue;
            // The rest is written by a fresh instance only when the property says it is
            // stored always (no declared default, no predicate).
            const TValue value = GetValue(holder, prop);
            const bool decides = prop->HasDefault || prop->StoredFunction || prop->Kind() == tkFloat;
            if (decides && IsWritten(holder, prop, value))
                slips.push_back(cls->ClassName().str() + "." + leaf.Path + " = " + ValueText(prop, value) +
                                " is written by a fresh instance" +
                                (prop->HasDefault ? ", declared default " + ValueText(prop, Reference(prop, value)) : ""));
        }
        if (!component)
            FreeObject(object);
        ++made;
    }
    EXPECT_GT(made, 40);
    EXPECT_TRUE(slips.empty()) << AllSlips();
}

TEST_F(PublishedDefaultsTest, EveryPublishedValueReadsBackAsWritten)
{
    int cases = 0;  // the round trips of values the properties took
    for (TClass cls : ComponentClasses()) {
        std::vector<TLeaf> leaves;
        {
            TOwned<TForm> host = NewHost();
            TComponent* fresh = Make(cls, host.get());
            CollectLeaves(fresh, {}, "", leaves);
            for (const TLeaf& leaf : leaves) {
                if (NeverStored(leaf.Prop))
                    continue;
                const TValue reference = Reference(leaf.Prop, GetValue(Holder(fresh, leaf), leaf.Prop));
                const TValue other = OtherThan(leaf.Prop, reference);
                cases += RoundTrip(cls, leaves, leaf, {other});
                cases += RoundTrip(cls, leaves, leaf, {other, reference});
            }
        }
    }
    RecordProperty("RoundTrips", cases);
    EXPECT_GT(cases, 1000);
    EXPECT_TRUE(slips.empty()) << slips.size() << " slips:" << AllSlips();
}

} // namespace

// The published defaults of every class of the library: a fresh instance holds the default
// each of its properties declares, so that a new component written to a form description
// writes only the properties that are stored always (those declared without a default),
// and a value equal to a declared default, which is never written, is what reading gives
// back. The table holds every class the library's headers declare; the test walks the
// published properties of each one that can be made, into the objects it owns and the
// items of its collections.
#include "tests/obl/controls/graphic/GraphicFixture.h"
#include "tests/obl/controls/published/LibraryClasses.h"
#include "tests/support/FormText.h"

#include <string>
#include <vector>

namespace {

class PublishedDefaultsTest : public GraphicFixture {
protected:
    // Each published property of the object that declares a default and holds another
    // value, as "path = value, declared default"; the objects it owns and the items of its
    // collections (one is added to an empty collection) are walked too.
    void CollectSlips(TObject* object, const std::string& path, int depth)
    {
        if (depth > 4)
            return;
        for (PPropInfo prop : GetPropList(object->ClassType())) {
            const std::string name = path + "." + prop->Name.str();
            if (IsOrdinalKind(prop->Kind())) {
                if (!prop->HasDefault)
                    continue;
                const std::int64_t value = GetOrdProp(object, prop);
                if (value != prop->Default)
                    slips.push_back(name + " = " + std::to_string(value) + ", declared default " +
                                    std::to_string(prop->Default));
            } else if (prop->Kind() == tkFloat) {
                // Without a declared default the filer takes 0 for one.
                const double value = GetFloatProp(object, prop);
                if (!IsDefaultFloatValue(prop, value))
                    slips.push_back(name + " = " + std::to_string(value) + ", declared default " +
                                    std::to_string(prop->HasDefault ? prop->FloatDefault : 0.0));
            } else if (prop->Kind() == tkClass) {
                TObject* owned = GetObjectProp(object, prop);
                if (!owned || dynamic_cast<TComponent*>(owned))
                    continue;
                if (auto* collection = dynamic_cast<TCollection*>(owned)) {
                    if (collection->Count() == 0)
                        collection->Add();
                    for (int i = 0; i < collection->Count(); ++i)
                        CollectSlips(collection->Items(i), name + "[" + std::to_string(i) + "]", depth + 1);
                } else if (dynamic_cast<TPersistent*>(owned)) {
                    CollectSlips(owned, name, depth + 1);
                }
            }
        }
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
        const bool component = cls->InheritsFrom(TComponent::StaticClass());
        TObject* object = cls->Create(component ? form_ : nullptr);
        CollectSlips(object, cls->ClassName().str(), 0);
        FreeObject(object);
        ++made;
    }
    EXPECT_GT(made, 40);
    std::string all;
    for (const std::string& slip : slips)
        all += "\n  " + slip;
    EXPECT_TRUE(slips.empty()) << all;
}

} // namespace

// Every published integer, enumeration and colour property of every component class of the
// library (and of the settings objects it owns) given values at the ends of its range, from
// code and through a form description, with each kind of linked image list. A value is
// either refused (the setter raises and keeps the old value, or the reader raises naming
// the property and the line) or kept; a kept value never makes painting, resizing, the
// mouse or the keyboard raise (no error box), and it reads back as written.
#include "tests/obl/controls/graphic/GraphicFixture.h"
#include "tests/obl/controls/published/LibraryClasses.h"
#include "tests/support/FormText.h"
#include "tests/support/KeyboardInput.h"

#include "platform/win/user/Input.h"

#include <climits>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace {

// One published ordinal property reached from a component: the path of names from the
// component ("Layout.Spacing") and how to find its object again in a copy of the component.
struct Published {
    std::string path;
    PPropInfo prop;
    std::function<TObject*(TComponent*)> holder;
    bool inItem; // inside a collection item: no description line can name it
};

// The linked lists a case can give a component.
enum class Linked { imageList, bitmapList, emptyList, none };
constexpr int kLinkedKinds = 4;

const std::vector<std::int64_t> kIntegers = {INT_MIN, -1, 0, 1, 30000, INT_MAX};
const std::vector<std::int64_t> kColors = {static_cast<std::int32_t>(0x80000014), 0x1FFFFFFF, -1};

bool IsImageListType(PPropInfo prop)
{
    return prop->Kind() == tkClass &&
           prop->PropType->ClassType()->InheritsFrom(TOBLCustomImageList::StaticClass());
}

class PublishedValuesTest : public GraphicFixture {
protected:
    void SetUp() override
    {
        GraphicFixture::SetUp();
        RegisterClass(TForm::StaticClass());
        for (TClass cls : LibraryClasses())
            if (cls->InheritsFrom(TPersistent::StaticClass()))
                RegisterClass(cls);
        form_->SetName("Host");
        MakeLists();
    }

    void MakeLists()
    {
        strips_ = new TOBLImageList(form_);
        strips_->SetName("Strips");
        TOBLImageListItem* strip = strips_->Items(strips_->Add(nullptr));
        strip->SetWidth(8);
        strip->SetHeight(6);
        for (TColor colour : {clRed, clLime, clBlue}) {
            TBitmap picture;
            picture.SetSize(8, 6);
            picture.Canvas()->Brush()->SetColor(colour);
            picture.Canvas()->FillRect(Rect(0, 0, 8, 6));
            strip->Add(&picture, nullptr);
        }
        pictures_ = new TOBLBitmapList(form_);
        pictures_->SetName("Pictures");
        for (TColor colour : {clNavy, clYellow}) {
            TBitmap picture;
            picture.SetSize(12, 9);
            picture.Canvas()->Brush()->SetColor(colour);
            picture.Canvas()->FillRect(Rect(0, 0, 12, 9));
            pictures_->Items(pictures_->Add(nullptr))->SetBitmap(&picture);
        }
        empty_ = new TOBLBitmapList(form_);
        empty_->SetName("Empty");
    }

    TOBLCustomImageList* List(Linked kind) const
    {
        switch (kind) {
        case Linked::imageList: return strips_;
        case Linked::bitmapList: return pictures_;
        case Linked::emptyList: return empty_;
        case Linked::none: return nullptr;
        }
        return nullptr;
    }

    // The component classes a form can hold, made by their metaclasses.
    static std::vector<TClass> ComponentClasses()
    {
        std::vector<TClass> classes;
        for (TClass cls : LibraryClasses())
            if (cls->InheritsFrom(TComponent::StaticClass()) && cls->CanCreate() &&
                cls != TOBLApplication::StaticClass() && cls != TOBLTimerPool::StaticClass())
                classes.push_back(cls);
        return classes;
    }

    // The ordinal properties of the object and of the settings objects and collection items
    // it owns; `reach` finds the object from the component.
    static void Collect(TObject* object, const std::string& path, std::function<TObject*(TComponent*)> reach,
                        bool inItem, int depth, std::vector<Published>& found)
    {
        if (depth > 3)
            return;
        for (PPropInfo prop : GetPropList(object->ClassType())) {
            const std::string name = (path.empty() ? "" : path + ".") + prop->Name.str();
            const TTypeKind kind = prop->Kind();
            if ((kind == tkInteger || kind == tkEnumeration) && prop->SetOrd && prop->PropType != TypeInfo<bool>()) {
                found.push_back({name, prop, reach, inItem});
                continue;
            }
            if (kind != tkClass || !prop->GetObject)
                continue;
            TObject* owned = GetObjectProp(object, prop);
            if (!owned || dynamic_cast<TComponent*>(owned))
                continue;
            auto sub = [reach, prop](TComponent* c) -> TObject* {
                TObject* o = reach(c);
                return o ? GetObjectProp(o, prop) : nullptr;
            };
            if (auto* collection = dynamic_cast<TCollection*>(owned)) {
                if (collection->Count() == 0)
                    collection->Add();
                auto item = [sub](TComponent* c) -> TObject* {
                    auto* items = dynamic_cast<TCollection*>(sub(c));
                    return items && items->Count() > 0 ? items->Items(0) : nullptr;
                };
                Collect(collection->Items(0), name + "[0]", item, true, depth + 1, found);
            } else if (dynamic_cast<TPersistent*>(owned)) {
                Collect(owned, name, sub, inItem, depth + 1, found);
            }
        }
    }

    // Links every image-list property of the object and its settings objects to `list`.
    static void Link(TObject* object, TOBLCustomImageList* list, int depth = 0)
    {
        if (depth > 3)
            return;
        for (PPropInfo prop : GetPropList(object->ClassType())) {
            if (prop->Kind() != tkClass || !prop->GetObject)
                continue;
            if (IsImageListType(prop)) {
                if (prop->SetObject)
                    SetObjectProp(object, prop, list);
                continue;
            }
            TObject* owned = GetObjectProp(object, prop);
            if (owned && !dynamic_cast<TComponent*>(owned) && !dynamic_cast<TCollection*>(owned))
                Link(owned, list, depth + 1);
        }
    }

    static std::vector<std::int64_t> Values(PPropInfo prop)
    {
        if (prop->Kind() == tkEnumeration) {
            // Past the last name: just past it, and the most a byte holds.
            const auto count = static_cast<std::int64_t>(prop->PropType->EnumNames.size());
            return {count, 255};
        }
        return prop->PropType->IdentToInt ? kColors : kIntegers;
    }

    TComponent* Make(TClass cls)
    {
        auto* component = static_cast<TComponent*>(cls->Create(form_));
        component->SetName("Probe");
        if (auto* control = dynamic_cast<TControl*>(component)) {
            control->SetParent(form_);
            control->SetBounds(40, 30, 90, 40);
        }
        Pump();
        return component;
    }

    // What a user does to the form: paint, resize, the mouse over and pressing, a key.
    void Use(TForm* form, TComponent* component)
    {
        auto* control = dynamic_cast<TControl*>(component);
        // A control repaints itself; a component without a window of its own, the form.
        if (control)
            control->Invalidate();
        else
            form->Invalidate();
        form->Update();
        if (control) {
            const TRect was = control->BoundsRect();
            control->SetBounds(was.left, was.top, 64, 27);
            form->Update();
            control->SetBounds(was.left, was.top, was.right - was.left, was.bottom - was.top);
        } else {
            form->SetBounds(form->Left(), form->Top(), form->Width() + 3, form->Height() + 2);
            form->SetBounds(form->Left(), form->Top(), form->Width() - 3, form->Height() - 2);
        }
        form->Update();
        const TPoint at = control && control->Parent() ? control->ClientToScreen(Point(20, 12))
                                                       : form->ClientToScreen(Point(60, 40));
        UserInjectMouseMove(at.x, at.y);
        UserInjectMouseButton(MouseButton::Left, true, at.x, at.y);
        UserInjectMouseButton(MouseButton::Left, false, at.x, at.y);
        Pump();
        if (auto* windowed = dynamic_cast<TWinControl*>(component); windowed && windowed->CanFocus()) {
            windowed->SetFocus();
            PressKey('A');
            PressKey(VK_RIGHT);
        }
        UserInjectMouseMove(form->Left() + 1, form->Top() + 1);
        Pump();
    }

    void Fail(const std::string& what)
    {
        if (faults_.size() < 60)
            faults_.push_back(what);
        ++faultCount_;
    }

    // Error boxes shown since the last look.
    void Boxes(const std::string& where)
    {
        for (const std::string& box : boxes_)
            Fail(where + ": error box \"" + box + "\"");
        boxes_.clear();
    }

    // The form written and read again: the value the copy holds, through `read` (false when
    // the description did not read).
    bool RoundTrip(const Published& p, std::int64_t& read, const std::string& where)
    {
        const std::string text = WriteFormText(form_);
        form_->SetName("Old");
        bool ok = true;
        try {
            TOwned<TComponent> copy(ReadFormText(text));
            TObject* holder = p.holder(copy->FindComponent("Probe"));
            if (holder)
                read = GetOrdProp(holder, p.prop);
            else
                ok = false;
        } catch (const Exception& e) {
            Fail(where + ": the written form does not read: " + e.Message().str());
            ok = false;
        }
        form_->SetName("Host");
        return ok;
    }

    // The value given by a line of the component's description.
    void FromDescription(const Published& p, std::int64_t value, const std::string& where)
    {
        std::string text = WriteFormText(form_);
        const std::size_t at = text.find("object Probe:");
        const std::size_t line = text.find('\n', at) + 1;
        std::string given = std::to_string(value);
        if (p.prop->Kind() == tkEnumeration) {
            given = GetEnumName(p.prop->PropType, static_cast<int>(value)).str();
            if (given.empty())
                given = "xxNoSuchName";
        }
        text.insert(line, "    " + p.path + " = " + given + "\r\n");
        form_->SetName("Old");
        try {
            TOwned<TComponent> copy(ReadFormText(text));
            auto* form = static_cast<TForm*>(copy.get());
            form->Show();
            Pump();
            Use(form, form->FindComponent("Probe"));
            form->Hide();
            Pump();
        } catch (const EReadError& e) {
            const std::string message = e.Message().str();
            if (message.find(p.prop->Name.str()) == std::string::npos || message.find("line") == std::string::npos)
                Fail(where + " (description): refused without naming the property and line: " + message);
        } catch (const Exception& e) {
            Fail(where + " (description): raised " + e.Message().str());
        }
        form_->SetName("Host");
        Boxes(where + " (description)");
    }

    // One value from code: refused with the old value kept, or kept, used and read back.
    void FromCode(TComponent* component, const Published& p, std::int64_t value, const std::string& where)
    {
        TObject* holder = p.holder(component);
        const std::int64_t before = GetOrdProp(holder, p.prop);
        try {
            SetOrdProp(holder, p.prop, value);
        } catch (const Exception& e) {
            if (GetOrdProp(holder, p.prop) != before)
                Fail(where + ": refused (" + e.Message().str() + ") but kept " +
                     std::to_string(GetOrdProp(holder, p.prop)));
            Boxes(where);
            return;
        }
        const std::int64_t kept = GetOrdProp(holder, p.prop);
        try {
            Use(form_, component);
        } catch (const Exception& e) {
            Fail(where + ": raised in use: " + e.Message().str());
        }
        Boxes(where);
        std::int64_t read = 0;
        if (RoundTrip(p, read, where) && read != kept)
            Fail(where + ": kept " + std::to_string(kept) + ", read back " + std::to_string(read));
        Boxes(where + " (round trip)");
        try {
            SetOrdProp(holder, p.prop, before);
        } catch (const Exception&) {
        }
    }

    TOBLImageList* strips_ = nullptr;
    TOBLBitmapList* pictures_ = nullptr;
    TOBLBitmapList* empty_ = nullptr;
    std::vector<std::string> faults_;
    int faultCount_ = 0;
};

TEST_F(PublishedValuesTest, EveryValueIsRefusedOrKeptUsedAndReadBack)
{
    int cases = 0;
    int turn = 0;
    for (TClass cls : ComponentClasses()) {
        TComponent* component = Make(cls);
        std::vector<Published> props;
        Collect(component, "", [](TComponent* c) -> TObject* { return c; }, false, 0, props);
        for (std::size_t n = 0; n < props.size(); ++n) {
            const Published& p = props[n];
            if (p.path == "Name")
                continue;
            const std::vector<std::int64_t> values = Values(p.prop);
            for (std::size_t v = 0; v < values.size(); ++v) {
                const std::int64_t value = values[v];
                // The linked list changes from case to case, so that each kind meets every
                // property over the values.
                const int at = turn++;
                const auto linked = static_cast<Linked>(at % kLinkedKinds);
                const std::string where = cls->ClassName().str() + "." + p.path + " = " + std::to_string(value) +
                                          " (list " + std::to_string(static_cast<int>(linked)) + ")";
                try {
                    Link(component, List(linked));
                } catch (const Exception& e) {
                    Fail(where + ": linking the list raised " + e.Message().str());
                }
                FromCode(component, p, value, where);
                // Reading a form and showing it is the costly part: every third value goes
                // through a description, the next third for the next property.
                if (!p.inItem && (n + v) % 3 == 0)
                    FromDescription(p, value, where);
                ++cases;
            }
        }
        FreeObject(component);
        Pump();
        boxes_.clear();
    }
    EXPECT_GT(cases, 1000);
    std::string all;
    for (const std::string& fault : faults_)
        all += "\n  " + fault;
    EXPECT_EQ(faultCount_, 0) << all;
}

} // namespace

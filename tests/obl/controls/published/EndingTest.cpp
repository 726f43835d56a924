// Every class of the library ended in every way: freed, deleted, with its form freed or
// deleted, after its form's window was destroyed, and with the lists and components it
// links to ended first. Whichever way, an object ends by one protocol while it is whole,
// so nothing reaches a half-destroyed object (the sanitizer build checks each case), and
// a form that outlives it is as it was before: its caption, its window procedure, no
// window region, and as many pooled timers.
#include "tests/obl/controls/published/LibraryClasses.h"
#include "tests/obl/controls/graphic/ButtonScene.h"
#include "tests/obl/controls/graphic/GraphicFixture.h"

#include "platform/classlib/ImgList.h"
#include "platform/win/gdi/Gdi.h"

#include <set>
#include <string>
#include <vector>

namespace {

enum class TEnding {
    Free,
    Delete,
    FormFreed,
    FormDeleted,
    // The form's window is destroyed, then the object deleted.
    WindowFirst,
    // The form's window is destroyed, then the form deleted.
    WindowFirstFormDeleted,
    // The lists and components the object links to are deleted, then the object.
    LinksDeleted,
    // The class library's image lists inside the connectors are deleted, then the object.
    InnerListsDeleted,
};
const char* const kEndingNames[] = {"Free",          "delete",        "form freed",
                                    "form deleted",  "window first",  "window first, form deleted",
                                    "links deleted", "inner lists deleted"};

enum class TListKind { BitmapList, ImageList, Connector, GraphicList };
const char* const kListNames[] = {"bitmap list", "image list", "connector", "graphic list"};

bool EndsTheForm(TEnding e)
{
    return e == TEnding::FormFreed || e == TEnding::FormDeleted || e == TEnding::WindowFirstFormDeleted;
}
bool EndsLinks(TEnding e) { return e == TEnding::LinksDeleted || e == TEnding::InnerListsDeleted; }

// What the form was before anything was put on it.
struct TFormState {
    AnsiString caption;
    AnsiString windowText;
    TWndMethod windowProc;
    LONG_PTR procedure = 0;
    bool region = false;
    int timers = 0;
};

class EndingTest : public GraphicFixture {
protected:
    TForm* MakeForm()
    {
        auto* form = new TForm(nullptr);
        form->SetBorderStyle(bsSingle);
        form->SetCaption("Probe");
        form->SetBounds(40, 40, 260, 170);
        form->Show();
        Pump();
        return form;
    }

    static int Timers() { return OBLApplication->TimerPool()->GetCount(); }

    static TFormState StateOf(TForm* form)
    {
        TFormState s;
        s.caption = form->Caption();
        s.windowProc = form->WindowProc();
        s.timers = Timers();
        HWND window = form->Handle();
        char text[64] = {};
        GetWindowTextA(window, text, sizeof text);
        s.windowText = text;
        s.procedure = GetWindowLongA(window, GWL_WNDPROC);
        HRGN rgn = CreateRectRgn(0, 0, 0, 0);
        s.region = GetWindowRgn(window, rgn) != ERROR;
        DeleteObject(rgn);
        return s;
    }

    // Pictures in every kind of list: one entry each.
    TOBLCustomImageList* MakeList(TForm* form, TListKind kind)
    {
        ++listsLinked_;
        TBitmap picture;
        SmallGlyph(&picture);
        switch (kind) {
        case TListKind::BitmapList: {
            auto* list = new TOBLBitmapList(form);
            list->Items(list->Add(nullptr))->SetBitmap(&picture);
            return list;
        }
        case TListKind::ImageList: return FaceList(form);
        case TListKind::Connector: {
            auto* images = new TImageList(form);
            images->AddMasked(&picture, clFuchsia);
            inner_.push_back(images);
            auto* list = new TOBLImageListConnector(form);
            list->ImageLists()->Add()->SetImageList(images);
            return list;
        }
        case TListKind::GraphicList: {
            auto* list = new TOBLGraphicList(form);
            list->Graphics()->Add()->Picture()->Assign(&picture);
            return list;
        }
        }
        return nullptr;
    }

    // Something of the property's type for the object to link to, owned by the form.
    TComponent* MakeLink(TForm* form, TClass type, TListKind kind)
    {
        if (type->InheritsFrom(TCustomImageList::StaticClass())) {
            auto* images = new TImageList(form);
            TBitmap picture;
            SmallGlyph(&picture);
            images->AddMasked(&picture, clFuchsia);
            return images;
        }
        if (type->InheritsFrom(TOBLCustomImageList::StaticClass())) {
            TOBLCustomImageList* list = MakeList(form, kind);
            if (list->InheritsFrom(type))
                return list;
            delete list;
        }
        if (!type->CanCreate() || !type->InheritsFrom(TComponent::StaticClass()))
            return nullptr;
        auto* made = static_cast<TComponent*>(type->Create(form));
        if (auto* strings = dynamic_cast<TOBLStringList*>(made))
            strings->Items(strings->Add(nullptr))->GetList()->SetText("alpha\nbeta\ngamma");
        return made;
    }

    // Every component-typed property of the object, and of the objects and collection
    // items it owns, is linked to something made for it.
    void Link(TObject* object, TForm* form, TListKind kind, int depth)
    {
        if (depth > 4)
            return;
        for (PPropInfo prop : GetPropList(object->ClassType())) {
            if (prop->Kind() != tkClass || !prop->GetObject)
                continue;
            const TClass type = prop->PropType->ClassType();
            if (type->InheritsFrom(TComponent::StaticClass())) {
                if (!prop->SetObject)
                    continue;
                if (TComponent* link = MakeLink(form, type, kind)) {
                    prop->SetObject(object, link);
                    links_.push_back(link);
                }
                continue;
            }
            TObject* owned = prop->GetObject(object);
            if (auto* collection = dynamic_cast<TCollection*>(owned)) {
                if (collection->Count() == 0)
                    collection->Add();
                for (int i = 0; i < collection->Count(); ++i)
                    Link(collection->Items(i), form, kind, depth + 1);
            } else if (dynamic_cast<TPersistent*>(owned)) {
                Link(owned, form, kind, depth + 1);
            }
        }
    }

    // A list under test gets users on the form: a button showing its picture and a
    // multimedia button taking its faces from it.
    static void UseList(TOBLCustomImageList* list, TForm* form)
    {
        auto* speed = new TOBLSpeedButton(form);
        speed->SetParent(form);
        speed->SetBounds(140, 8, 40, 30);
        speed->SetImageList(list);
        auto* faces = new TOBLCustomMMButton(form);
        faces->SetParent(form);
        faces->SetBounds(140, 50, 40, 30);
        faces->SetButtonFaceImageList(list);
    }

    static TObject* Make(TClass cls, TForm* form)
    {
        const bool component = cls->InheritsFrom(TComponent::StaticClass());
        TObject* object = cls->Create(component ? form : nullptr);
        if (auto* control = dynamic_cast<TControl*>(object)) {
            control->SetParent(form);
            control->SetBounds(8, 8, 120, 40);
        }
        // The lists' base only declares the operations (each raises): nothing can show it.
        auto* list = dynamic_cast<TOBLCustomImageList*>(object);
        if (list && cls != TOBLCustomImageList::StaticClass())
            UseList(list, form);
        return object;
    }

    void Repaint(TForm* form)
    {
        if (!form->HandleAllocated())
            return;
        form->Invalidate();
        form->Update();
        MoveTo(form, 20, 20);
        Pump();
    }

    // One case: the object made on a fresh form with its links, shown and painted, then
    // ended; the form, when it lives on, is checked against what it was.
    void RunCase(TClass cls, TEnding ending, TListKind kind)
    {
        const std::string name = cls->ClassName().str() + ", " + kEndingNames[static_cast<int>(ending)] + ", " +
                                 kListNames[static_cast<int>(kind)];
        SCOPED_TRACE(name);
        try {
            EndOne(cls, ending, kind);
        } catch (const std::exception& e) {
            ADD_FAILURE() << e.what();
        }
    }

    void EndOne(TClass cls, TEnding ending, TListKind kind)
    {
        links_.clear();
        inner_.clear();
        const int forms = Screen->FormCount();
        TForm* form = MakeForm();
        const TFormState before = StateOf(form);
        TObject* object = Make(cls, form);
        const int lists = listsLinked_;
        Link(object, form, kind, 0);
        if (listsLinked_ > lists)
            withLists_.insert(cls->ClassName().str());
        if (auto* control = dynamic_cast<TWinControl*>(object))
            control->HandleNeeded();
        Repaint(form);

        switch (ending) {
        case TEnding::Free: object->Free(); break;
        case TEnding::Delete: delete object; break;
        case TEnding::FormFreed: FreeAndNil(form); break;
        case TEnding::FormDeleted:
            delete form;
            form = nullptr;
            break;
        case TEnding::WindowFirst:
            DestroyWindow(form->Handle());
            Pump();
            delete object;
            break;
        case TEnding::WindowFirstFormDeleted:
            DestroyWindow(form->Handle());
            Pump();
            delete form;
            form = nullptr;
            break;
        case TEnding::LinksDeleted:
        case TEnding::InnerListsDeleted: {
            const std::vector<TComponent*>& doomed = ending == TEnding::LinksDeleted ? links_ : inner_;
            for (auto it = doomed.rbegin(); it != doomed.rend(); ++it)
                delete *it;
            Repaint(form);
            delete object;
            break;
        }
        }
        if (form) {
            Repaint(form);
            const TFormState after = StateOf(form);
            EXPECT_EQ(after.caption, before.caption);
            EXPECT_EQ(after.windowText, before.windowText);
            EXPECT_TRUE(after.windowProc == before.windowProc) << "the form's dispatch is not its own";
            if (ending != TEnding::WindowFirst) {
                EXPECT_EQ(after.procedure, before.procedure) << "the window's procedure is not the form's";
            }
            EXPECT_EQ(after.region, before.region);
            EXPECT_EQ(after.timers, before.timers);
            delete form;
        }
        Pump();
        EXPECT_EQ(Timers(), before.timers);
        EXPECT_EQ(Screen->FormCount(), forms);
    }

    std::vector<TComponent*> links_;
    std::vector<TComponent*> inner_;
    int listsLinked_ = 0;
    // The classes that were given an image list to link to.
    std::set<std::string> withLists_;
};

// Classes that can be made on their own: no collection items (they come with their
// collections), and not the application object, of which there is one.
bool Makeable(TClass cls)
{
    return cls->InheritsFrom(TPersistent::StaticClass()) && !cls->InheritsFrom(TCollectionItem::StaticClass()) &&
           cls->CanCreate() && cls != TOBLApplication::StaticClass();
}

TEST_F(EndingTest, EveryClassEndsWholeInEveryWayAndTheFormLivesOnAsBefore)
{
    const std::vector<TEnding> endings = {TEnding::Free,         TEnding::Delete,
                                          TEnding::FormFreed,    TEnding::FormDeleted,
                                          TEnding::WindowFirst,  TEnding::WindowFirstFormDeleted,
                                          TEnding::LinksDeleted, TEnding::InnerListsDeleted};
    const std::vector<TListKind> kinds = {TListKind::BitmapList, TListKind::ImageList, TListKind::Connector,
                                          TListKind::GraphicList};
    int cases = 0;
    int index = 0;
    for (TClass cls : LibraryClasses()) {
        if (!Makeable(cls))
            continue;
        const bool component = cls->InheritsFrom(TComponent::StaticClass());
        for (TEnding ending : endings) {
            if (!component && (EndsTheForm(ending) || ending == TEnding::WindowFirst))
                continue;
            if (ending == TEnding::InnerListsDeleted) {
                RunCase(cls, ending, TListKind::Connector);
                ++cases;
            } else if (EndsLinks(ending)) {
                for (TListKind kind : kinds) {
                    RunCase(cls, ending, kind);
                    ++cases;
                }
            } else {
                RunCase(cls, ending, kinds[static_cast<std::size_t>(index) % kinds.size()]);
                ++cases;
            }
            ++index;
        }
    }
    EXPECT_GT(cases, 500);
    for (const char* taker : {"TOBLSpeedButton", "TOBLCustomMMButton", "TOBLButton", "TOBLAlphaObject",
                              "TOBLBitmapEffectObject", "TOBLFormShape", "TOBLCustomEdit", "TOBLBack"})
        EXPECT_EQ(withLists_.count(taker), 1u) << taker << " was given no image list";
    EXPECT_TRUE(boxes_.empty()) << boxes_.size() << " error boxes, the first: " << boxes_.front();
}

} // namespace

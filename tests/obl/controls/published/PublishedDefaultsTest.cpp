// The published defaults of every class of the library: a fresh instance holds the default
// each of its properties declares, so that a new component written to a form description
// writes only the properties that are stored always (those declared without a default),
// and a value equal to a declared default, which is never written, is what reading gives
// back. The table holds every class the library's headers declare; the test walks the
// published properties of each one that can be made, into the objects it owns and the
// items of its collections.
#include "obl/controls/buttons/OBLButton.h"
#include "obl/controls/edits/OBLBrowseEdit.h"
#include "obl/controls/edits/OBLCaret.h"
#include "obl/controls/edits/OBLEditAutoComplete.h"
#include "obl/controls/effects/OBLAlphaObject.h"
#include "obl/controls/effects/OBLBitmapEffectObject.h"
#include "obl/controls/effects/OBLFillObject.h"
#include "obl/controls/effects/OBLGradient.h"
#include "obl/controls/forms/OBLBack.h"
#include "obl/controls/forms/OBLBaseDialog.h"
#include "obl/controls/forms/OBLFormStyler.h"
#include "obl/controls/graphic/OBLCustomMMButton.h"
#include "obl/controls/graphic/OBLSpeedButton.h"
#include "obl/controls/graphic/oblsbtn.h"
#include "obl/controls/panels/OBLButtonPanel.h"
#include "obl/controls/panels/OBLCustomScrollBox.h"
#include "obl/controls/shapes/OBLFormShape.h"
#include "obl/controls/shapes/OBLRegion.h"
#include "obl/controls/shapes/OBLRegionBorder.h"
#include "obl/controls/shapes/OBLRegionMask.h"
#include "obl/controls/shapes/OBLRgnShadow.h"
#include "obl/controls/shapes/OBLShape.h"
#include "obl/controls/shapes/OBLTeeth.h"
#include "obl/controls/windowed/OBLBevel.h"
#include "obl/controls/windowed/OBLResWinControl.h"
#include "obl/core/app/OBLIniCtrl.h"
#include "obl/core/app/OBLXPThemeManager.h"
#include "obl/core/base/OBLComponent.h"
#include "obl/core/containers/OBLContainerComponent.h"
#include "obl/core/containers/oblcont.h"
#include "obl/core/dialogs/OBLBrowseDlg.h"
#include "obl/core/draw/OBLButtonBase.h"
#include "obl/core/draw/OBLButtonLayout.h"
#include "obl/core/draw/OBLFXCaption.h"
#include "obl/core/draw/oblglyph.h"
#include "obl/core/formats/OBLDynLIFOBuffer.h"
#include "obl/core/formats/OBLPointList.h"
#include "obl/core/formats/oblwave.h"
#include "tests/obl/controls/graphic/GraphicFixture.h"
#include "tests/support/FormText.h"

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

// Every class the library's headers declare, in the order of its areas.
const std::vector<TClass>& LibraryClasses()
{
    static const std::vector<TClass> classes = {
        // core
        TOBLObject::StaticClass(), TOBLCustomComponent::StaticClass(), TOBLComponent::StaticClass(),
        TOBLWndProcComponent::StaticClass(), TOBLXPThemeManager::StaticClass(), TOBLTimerItem::StaticClass(),
        TOBLTimerPool::StaticClass(), TOBLApplication::StaticClass(), TOBLRegIniFile::StaticClass(),
        TOBLIniCtrl::StaticClass(), TOBLBuffer::StaticClass(), TOBLDynLIFOBuffer::StaticClass(),
        TOBLPointList::StaticClass(), TOBLWave::StaticClass(), TOBLBrowseDlg::StaticClass(),
        TOBL3DCaption::StaticClass(), TOBLFxCaption::StaticClass(), TOBLGlyphTextLayout::StaticClass(),
        TOBLButtonLayout::StaticClass(), TOBLButtonFace::StaticClass(), TOBLGlyphStrip::StaticClass(),
        TOBLGlyphList::StaticClass(), TOBLGlyphCache::StaticClass(), TOBLGlyph::StaticClass(),
        TOBLContainerComponent::StaticClass(), TOBLChangeLink::StaticClass(), TOBLBaseContainer::StaticClass(),
        TOBLListItem::StaticClass(), TOBLCustomContainer::StaticClass(), TOBLCustomImageList::StaticClass(),
        TOBLBitmapListItem::StaticClass(), TOBLBitmapList::StaticClass(), TOBLImageListItem::StaticClass(),
        TOBLImageList::StaticClass(), TOBLBorImageListItem::StaticClass(), TOBLBorImageListItems::StaticClass(),
        TOBLGraphicListItem::StaticClass(), TOBLGraphicListItems::StaticClass(),
        TOBLImageListConnector::StaticClass(), TOBLGraphicList::StaticClass(), TOBLStringListItem::StaticClass(),
        TOBLGenericListItem::StaticClass(), TOBLWaveListItem::StaticClass(), TOBLStringList::StaticClass(),
        TOBLGenericList::StaticClass(), TOBLWaveList::StaticClass(), TOBLContainer::StaticClass(),
        TOBLContainerCtrl::StaticClass(),
        // effects
        TOBLGradient::StaticClass(), TOBLShapeFill::StaticClass(), TOBLFillObject::StaticClass(),
        TOBLAlphaObject::StaticClass(), TOBLBitmapEffectObject::StaticClass(),
        // graphic
        TOBLControl::StaticClass(), TOBLBaseControl::StaticClass(), TOBLBaseGraphicButton::StaticClass(),
        TOBLCustomSpeedButton::StaticClass(), TOBLSpeedButton::StaticClass(), TOBLCustomMMButton::StaticClass(),
        TOBLSpecialButton::StaticClass(), TOBLSpecialButtons::StaticClass(),
        // shapes
        TOBLShadow::StaticClass(), TOBLRgnShadow::StaticClass(), TOBLSimpleBevel::StaticClass(),
        TOBLTeeth::StaticClass(), TOBLShape::StaticClass(), TOBLRegionBorder::StaticClass(),
        TOBLRegionMask::StaticClass(), TOBLRegion::StaticClass(), TOBLBorderRegion::StaticClass(),
        TOBLFormShape::StaticClass(),
        // windowed
        TOBLBevel::StaticClass(), TOBLCustomControl::StaticClass(), TOBLResWinControl::StaticClass(),
        // buttons
        TOBLCustomButton::StaticClass(), TOBLButton::StaticClass(),
        // edits
        TOBLCaret::StaticClass(), TOBLEditAutoComplete::StaticClass(), TOBLBaseEdit::StaticClass(),
        TOBLCustomEdit::StaticClass(), TOBLCustomBrowseEdit::StaticClass(), TOBLBrowseEdit::StaticClass(),
        // panels
        TOBLCustomPanel::StaticClass(), TOBLCustomBevelPanel::StaticClass(), TOBLCustomParentPanel::StaticClass(),
        TOBLCustomPanelFill::StaticClass(), TOBLButtonPanel::StaticClass(), TOBLScrollBoxBevel::StaticClass(),
        TOBLCustomScrollBox::StaticClass(),
        // forms
        TOBLCustomFormFill::StaticClass(), TOBLBack::StaticClass(), TOBLFormStyler::StaticClass(),
        TOBLBaseDialog::StaticClass(),
    };
    return classes;
}

// The names of the classes declared in the library's headers.
std::set<std::string> DeclaredClasses()
{
    std::set<std::string> names;
    const std::regex declaration(R"(VENDARO_CLASS\((\w+),)");
    for (const auto& entry : std::filesystem::recursive_directory_iterator(VENDARO_SOURCE_DIR "/obl")) {
        if (entry.path().extension() != ".h")
            continue;
        std::ifstream in(entry.path());
        std::stringstream text;
        text << in.rdbuf();
        const std::string source = text.str();
        for (std::sregex_iterator m(source.begin(), source.end(), declaration), end; m != end; ++m)
            names.insert((*m)[1].str());
    }
    return names;
}

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

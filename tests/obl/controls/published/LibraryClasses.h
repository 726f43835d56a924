// Every class the library's headers declare, made by its metaclass, and the names the
// headers declare, so that a table of the classes can be checked to hold them all.
#pragma once

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

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

// Every class the library's headers declare, in the order of its areas.
inline const std::vector<TClass>& LibraryClasses()
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
inline std::set<std::string> DeclaredClasses()
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

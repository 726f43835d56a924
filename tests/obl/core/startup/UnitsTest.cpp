#include "obl/core/startup/OBLUnits.h"

#include "obl/core/app/OBLXPThemeManager.h"
#include "obl/core/app/Oblsysin.h"
#include "obl/core/base/Oblxpstyles.h"
#include "obl/core/app/oblclass.h"
#include "obl/core/containers/oblcont.h"
#include "obl/core/draw/OBLButtonBase.h"
#include "obl/core/draw/oblglyph.h"
#include "platform/win/kernel/Mutex.h"
#include "platform/win/kernel/Resources.h"
#include "platform/win/kernel/UxTheme.h"

#include "tests/obl/core/app/AppFixture.h"
#include "tests/obl/core/app/TempSystem.h"
#include "tests/support/CheckoutTempFolder.h"

namespace {

class UnitsTest : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        ResetThemeModuleForTesting();
        SetMutexLockFolder(CheckoutTempFolder("oblapp-units"));
    }
    void TearDown() override
    {
        ResetThemeModuleForTesting();
        AppFixture::TearDown();
    }

    TempSystem system_;
};

TEST_F(UnitsTest, StartUpCreatesTheLibraryObjectsAndCloseDownFreesThem)
{
    for (TThemeModuleState state : {TThemeModuleState::Active, TThemeModuleState::Absent, TThemeModuleState::Active}) {
        SetThemeModuleState(state);
        const bool active = state == TThemeModuleState::Active;
        OBLInitializeUnits();
        // The theme binding comes before the application object, which takes its theme
        // state from it.
        EXPECT_EQ(XPThemesAvailable, active);
        ASSERT_NE(OBLApplication, nullptr);
        EXPECT_EQ(OBLApplication->UseXPThemes(), active);
        EXPECT_EQ(OBLApplicationUseXPThemes(), active);
        ASSERT_NE(OBLXPThemeManager, nullptr);
        EXPECT_EQ(OBLXPThemeManager->Owner(), nullptr);
        EXPECT_EQ(OBLApplication->TimerPool()->MinInterval(), 50);
        EXPECT_EQ(OBLApplication->IniCtrl()->Target(), itAuto);
        EXPECT_EQ(OBLApplication->InstanceMutexName().str(), "IMPORTA.EXE");
        EXPECT_FALSE(OBLApplication->InstanceRunning());
        EXPECT_TRUE(OBLSIWindowsNT);
        EXPECT_NE(OBLApplication->AddTimer(50, nullptr), 0);
        ASSERT_NE(OBLContainer, nullptr);
        EXPECT_TRUE(OBLContainer->BitmapList()->GetEmpty());
        EXPECT_TRUE(OBLContainer->ImageList()->GetEmpty());
        EXPECT_TRUE(OBLContainer->WaveList()->GetEmpty());
        EXPECT_TRUE(OBLContainer->StringList()->GetEmpty());

        OBLFinalizeUnits();
        EXPECT_EQ(OBLApplication, nullptr);
        EXPECT_EQ(OBLXPThemeManager, nullptr);
        EXPECT_EQ(OBLContainer, nullptr);
        EXPECT_FALSE(XPThemesAvailable);
        EXPECT_FALSE(OBLApplicationUseXPThemes());
        // The pool's Windows timer went with the application object.
        EXPECT_EQ(UserTimerCount(), 0);
    }
}

TEST_F(UnitsTest, BuiltInGlyphsDrawAfterStartUp)
{
    RemoveModuleResources(nullptr);
    OBLInitializeUnits();
    EXPECT_EQ(OBLGlyphCache, nullptr);
    for (TOBLGlyphKind kind : {gkEllipsis, gkFolder, gkFont}) {
        SCOPED_TRACE(static_cast<int>(kind));
        TBitmap bitmap;
        OBLGetGlyphKind(&bitmap, kind);
        ASSERT_EQ(bitmap.Width(), 13);
        ASSERT_EQ(bitmap.Height(), 14);
        int ink = 0;
        for (int y = 0; y < 14; ++y)
            for (int x = 0; x < 13; ++x) ink += bitmap.Canvas()->Pixels(x, y) == clBlack;
        EXPECT_GT(ink, 0);
    }
    OBLFinalizeUnits();
}

}  // namespace

// The windowless control bases: bounds notifications, mouse enter and exit, the theme
// switch, the picture source, the background change message and point mapping.
#include "obl/controls/graphic/OBLBaseControl.h"
#include "obl/controls/graphic/OBLCustomMMButton.h"

#include "GraphicFixture.h"

namespace {

// A control that records what reaches its overridable operations.
class TProbeControl : public TOBLBaseControl {
    VENDARO_CLASS(TProbeControl, TOBLBaseControl)
public:
    explicit TProbeControl(TComponent* owner) : TOBLBaseControl(owner) { SetBounds(0, 0, 40, 30); }

    void Bounds(TObject*, TOBLBoundsChangeStates changes) { boundsChanges.push_back(changes); }
    void GetChange(TObject* sender) override
    {
        // Whether the effect buffer is still the old background when the repaint comes.
        buffersAtRepaint.push_back(BackFX()->BufferValid());
        inherited::GetChange(sender);
    }
    void Paint() override { ++paints; }
    bool ControlSupportsXP() override { return themed; }
    bool CheckOptimized() override { return optimized; }

    std::vector<TOBLBoundsChangeStates> boundsChanges;
    std::vector<bool> buffersAtRepaint;
    int paints = 0;
    bool themed = false;
    bool optimized = false;
};

class ControlBaseTest : public GraphicFixture {};

TEST_F(ControlBaseTest, BoundsChangeTellsWhatMovedOrResizedAndNothingElse)
{
    auto* probe = Add<TProbeControl>(10, 10);
    probe->SetOnBoundsChange(TOBLBoundsChangeEvent(probe, &TProbeControl::Bounds));
    struct Case {
        TRect bounds;
        TOBLBoundsChangeStates expected;
    };
    const Case cases[] = {
        {Rect(10, 10, 50, 40), {}},
        {Rect(12, 10, 52, 40), {bcPos}},
        {Rect(12, 10, 60, 40), {bcSize}},
        {Rect(0, 0, 10, 10), {bcPos, bcSize}},
    };
    for (const Case& c : cases) {
        probe->boundsChanges.clear();
        probe->SetBoundsRect(c.bounds);
        if (c.expected.Empty())
            EXPECT_TRUE(probe->boundsChanges.empty());
        else
            EXPECT_EQ(probe->boundsChanges, std::vector<TOBLBoundsChangeStates>{c.expected});
    }
}

TEST_F(ControlBaseTest, MouseEnterAndExitFireOnlyOnAnEnabledControl)
{
    auto* probe = Add<TProbeControl>(10, 10);
    probe->SetOnMouseEnter(TNotifyEvent(&log_, &TEventLog::Enter));
    probe->SetOnMouseExit(TNotifyEvent(&log_, &TEventLog::Exit));
    MoveTo(probe, 5, 5);
    MoveAway();
    EXPECT_EQ(log_.events, (std::vector<std::string>{"enter", "exit"}));
    log_.events.clear();
    probe->SetEnabled(false);
    MoveTo(probe, 5, 5);
    MoveAway();
    EXPECT_TRUE(log_.events.empty());
}

TEST_F(ControlBaseTest, ThemeChangeRepaintsOnlyControlsThatSupportThemes)
{
    auto* plain = Add<TProbeControl>(10, 10);
    auto* themed = Add<TProbeControl>(60, 10);
    themed->themed = true;
    form_->Update();
    plain->paints = themed->paints = 0;
    plain->Perform(CM_OBLTHEMECHANGED, 0, 0);
    form_->Update();
    EXPECT_EQ(plain->paints, 0);
    themed->Perform(CM_OBLTHEMECHANGED, 0, 0);
    EXPECT_EQ(themed->paints, 1);
    EXPECT_FALSE(themed->CtlXP());
    themed->SetCtlXP(true);
    form_->Update();
    EXPECT_EQ(themed->paints, 2);
    EXPECT_FALSE(themed->UseXP()) << "the application paints without themes";
}

TEST_F(ControlBaseTest, BackgroundChangeDropsTheOldBufferBeforeRepainting)
{
    auto* probe = Add<TProbeControl>(10, 10);
    probe->BackFX()->SetBool(4, true);
    TBitmap picture;
    picture.SetSize(4, 4);
    probe->BackFX()->Draw(&picture);
    ASSERT_TRUE(probe->BackFX()->BufferValid());
    probe->optimized = true;
    probe->buffersAtRepaint.clear();
    probe->Perform(CM_OBLBACKCHANGED, 0, 0);
    EXPECT_EQ(probe->buffersAtRepaint, std::vector<bool>{false});

    // Without a cached background to copy from, only the buffer goes.
    probe->BackFX()->Draw(&picture);
    probe->optimized = false;
    probe->buffersAtRepaint.clear();
    probe->Perform(CM_OBLBACKCHANGED, 0, 0);
    EXPECT_TRUE(probe->buffersAtRepaint.empty());
    EXPECT_FALSE(probe->BackFX()->BufferValid());
}

TEST_F(ControlBaseTest, BackMapPointAddsThePositionOfAContainerButNotOfAForm)
{
    auto* panel = Add<TGradientPanel>(30, 40);
    panel->SetBounds(30, 40, 120, 100);
    auto* inPanel = Add<TProbeControl>(5, 6, panel);
    auto* onForm = Add<TProbeControl>(5, 6);
    EXPECT_EQ(V(inPanel->BackMapPoint(2, 3)), V(Point(32, 43)));
    EXPECT_EQ(V(onForm->BackMapPoint(2, 3)), V(Point(2, 3)));
    const TRect screen = onForm->GetScreenRect(Rect(0, 0, 4, 4));
    EXPECT_EQ(V(screen), V(Rect(25, 26, 29, 30)));
}

TEST_F(ControlBaseTest, ImageIndexesIgnoreNegativeAndEqualValuesAndTheListIsForgottenWhenFreed)
{
    auto* probe = Add<TProbeControl>(10, 10);
    auto* list = new TOBLImageList(form_);
    probe->SetImageList(list);
    probe->buffersAtRepaint.clear();
    probe->SetIndex(0, 3);
    probe->SetIndex(0, -1);
    probe->SetIndex(0, 3);
    probe->SetIndex(1, 2);
    EXPECT_EQ(probe->ImageIndex(), 3);
    EXPECT_EQ(probe->ListIndex(), 2);
    EXPECT_EQ(probe->buffersAtRepaint.size(), 2u) << "one reload per change";
    EXPECT_TRUE(probe->IMLEmpty());
    EXPECT_TRUE(probe->IsImageListStored());
    probe->SetImageIndex(-7);
    EXPECT_EQ(probe->ImageIndex(), -7) << "the raw setter stores as it is";
    FreeObject(list);
    EXPECT_EQ(probe->ImageList(), nullptr);
    EXPECT_FALSE(probe->IsImageListStored());
}

// However the list ends, the control, its background's blend and a multimedia button's
// faces let go of it while it is whole, and the form paints on.
TEST_F(ControlBaseTest, AnImageListEndedInAnyWayIsForgotten)
{
    for (const bool freed : {true, false}) {
        SCOPED_TRACE(freed ? "Free" : "delete");
        auto* probe = Add<TProbeControl>(10, 10);
        auto* faces = Add<TOBLCustomMMButton>(60, 10);
        auto* list = new TOBLImageList(form_);
        probe->SetImageList(list);
        probe->BackFX()->AlphaBlend()->SetImageList(list);
        faces->SetButtonFaceImageList(list);
        if (freed)
            list->Free();
        else
            delete list;
        EXPECT_EQ(probe->ImageList(), nullptr);
        EXPECT_EQ(probe->BackFX()->AlphaBlend()->ImageList(), nullptr);
        EXPECT_EQ(faces->ButtonFaceImageList(), nullptr);
        form_->Repaint();
        delete probe;
        delete faces;
    }
}

} // namespace

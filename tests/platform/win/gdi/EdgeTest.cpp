#include "GdiFixture.h"

namespace {

// Letters for the 3D colours: H hilight, L light, S shadow, D dark shadow, F face.
std::vector<std::string> EdgePicture(HDC dc, int w, int h) {
    std::vector<std::string> rows;
    for (int y = 0; y < h; ++y) {
        std::string row;
        for (int x = 0; x < w; ++x) {
            const COLORREF c = GetPixel(dc, x, y);
            row += c == GetSysColor(COLOR_3DHILIGHT) ? 'H' : c == GetSysColor(COLOR_3DLIGHT) ? 'L'
                 : c == GetSysColor(COLOR_3DSHADOW) ? 'S' : c == GetSysColor(COLOR_3DDKSHADOW) ? 'D'
                 : c == GetSysColor(COLOR_3DFACE) ? 'F' : '?';
        }
        rows.push_back(row);
    }
    return rows;
}

struct EdgeCase {
    UINT edge;
    UINT flags;
    std::vector<std::string> picture;
};

} // namespace

TEST(Edge, EveryEdgeKindTable) {
    const std::vector<EdgeCase> cases = {
        {EDGE_RAISED, BF_RECT, {"LLLLD", "LHHSD", "LHFSD", "LSSSD", "DDDDD"}},
        {EDGE_SUNKEN, BF_RECT, {"SSSSH", "SDDLH", "SDFLH", "SLLLH", "HHHHH"}},
        {EDGE_ETCHED, BF_RECT, {"SSSSH", "SHHSH", "SHFSH", "SSSSH", "HHHHH"}},
        {EDGE_BUMP, BF_RECT, {"LLLLD", "LDDLD", "LDFLD", "LLLLD", "DDDDD"}},
        {EDGE_RAISED, BF_RECT | BF_SOFT, {"HHHHD", "HLLSD", "HLFSD", "HSSSD", "DDDDD"}},
        {EDGE_SUNKEN, BF_RECT | BF_SOFT, {"DDDDH", "DSSLH", "DSFLH", "DLLLH", "HHHHH"}},
        {BDR_RAISEDINNER, BF_RECT, {"HHHHS", "HFFFS", "HFFFS", "HFFFS", "SSSSS"}},
        {EDGE_RAISED, BF_LEFT | BF_BOTTOM, {"LHFFF", "LHFFF", "LHFFF", "LSSSS", "DDDDD"}},
        {EDGE_RAISED, BF_RECT | BF_FLAT, {"SSSSS", "SFFFS", "SFFFS", "SFFFS", "SSSSS"}},
    };
    for (const EdgeCase& k : cases) {
        Canvas c(5, 5);
        RECT all{0, 0, 5, 5};
        FillRect(c.dc(), &all, GetSysColorBrush(COLOR_3DFACE));
        RECT r = all;
        EXPECT_TRUE(DrawEdge(c.dc(), &r, k.edge, k.flags));
        EXPECT_EQ(Joined(k.picture), Joined(EdgePicture(c.dc(), 5, 5))) << k.edge << " " << std::hex << k.flags;
        EXPECT_TRUE(EqualRect(&r, &all));  // unchanged without BF_ADJUST
    }
}

TEST(Edge, AdjustShrinksOnlyFlaggedSidesByWhatWasDrawn) {
    struct Case {
        UINT edge, flags;
        RECT expected;
    };
    const std::vector<Case> cases = {
        {EDGE_RAISED, BF_RECT | BF_ADJUST, {12, 12, 18, 18}},
        {BDR_SUNKENOUTER, BF_RECT | BF_ADJUST, {11, 11, 19, 19}},
        {EDGE_SUNKEN, BF_LEFT | BF_BOTTOM | BF_ADJUST, {12, 10, 20, 18}},
        {EDGE_ETCHED, BF_TOP | BF_ADJUST, {10, 12, 20, 20}},
        {0, BF_RECT | BF_ADJUST, {10, 10, 20, 20}},
    };
    for (const Case& k : cases) {
        Canvas c(30, 30);
        RECT r{10, 10, 20, 20};
        DrawEdge(c.dc(), &r, k.edge, k.flags);
        EXPECT_TRUE(EqualRect(&r, &k.expected)) << k.edge << " " << k.flags << ": " << r.left << "," << r.top << ","
                                                << r.right << "," << r.bottom;
    }
}

TEST(Edge, MiddleFillsTheInside) {
    Canvas c(6, 6);
    RECT r{0, 0, 6, 6};
    DrawEdge(c.dc(), &r, EDGE_SUNKEN, BF_RECT | BF_MIDDLE);
    EXPECT_EQ(GetSysColor(COLOR_3DFACE), GetPixel(c.dc(), 2, 3));
    EXPECT_EQ(GetSysColor(COLOR_3DDKSHADOW), GetPixel(c.dc(), 1, 1));
}

TEST(FrameControl, PushButtonCheckAndRadio) {
    Canvas c(16, 16);
    RECT r{0, 0, 16, 16};
    EXPECT_TRUE(DrawFrameControl(c.dc(), &r, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_ADJUSTRECT));
    RECT inside{2, 2, 14, 14};
    EXPECT_TRUE(EqualRect(&r, &inside));
    EXPECT_EQ(GetSysColor(COLOR_3DHILIGHT), GetPixel(c.dc(), 0, 0));  // soft raised face
    EXPECT_EQ(GetSysColor(COLOR_3DDKSHADOW), GetPixel(c.dc(), 15, 15));
    RECT pushed{0, 0, 16, 16};
    DrawFrameControl(c.dc(), &pushed, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_PUSHED);
    EXPECT_EQ(GetSysColor(COLOR_3DDKSHADOW), GetPixel(c.dc(), 0, 0));

    Canvas k(13, 13);
    RECT box{0, 0, 13, 13};
    DrawFrameControl(k.dc(), &box, DFC_BUTTON, DFCS_BUTTONCHECK);
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), GetPixel(k.dc(), 6, 6));
    DrawFrameControl(k.dc(), &box, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED);
    EXPECT_EQ(GetSysColor(COLOR_WINDOWTEXT), GetPixel(k.dc(), 6, 6));
    EXPECT_EQ(GetSysColor(COLOR_3DSHADOW), GetPixel(k.dc(), 0, 0));

    Canvas o(13, 13);
    DrawFrameControl(o.dc(), &box, DFC_BUTTON, DFCS_BUTTONRADIO | DFCS_CHECKED);
    EXPECT_EQ(GetSysColor(COLOR_WINDOWTEXT), GetPixel(o.dc(), 6, 6));
    EXPECT_EQ(kWhite, GetPixel(o.dc(), 0, 0));  // corners stay outside the circle
    EXPECT_EQ(GetSysColor(COLOR_3DSHADOW), GetPixel(o.dc(), 6, 0));
    EXPECT_EQ(GetSysColor(COLOR_3DHILIGHT), GetPixel(o.dc(), 6, 12));
    EXPECT_FALSE(DrawFrameControl(o.dc(), &box, 99, 0));
}

TEST(FrameControl, ScrollArrowPointsTheRightWay) {
    struct Case {
        UINT kind;
        POINT tip, base;
    };
    // 15 x 15 button: face inside [2,13); the arrow is 7 wide and 4 deep, centred.
    const std::vector<Case> cases = {
        {DFCS_SCROLLUP, {7, 5}, {4, 8}},
        {DFCS_SCROLLDOWN, {7, 8}, {4, 5}},
        {DFCS_SCROLLLEFT, {5, 7}, {8, 4}},
        {DFCS_SCROLLRIGHT, {8, 7}, {5, 4}},
    };
    for (const Case& k : cases) {
        Canvas c(15, 15);
        RECT r{0, 0, 15, 15};
        DrawFrameControl(c.dc(), &r, DFC_SCROLL, k.kind);
        EXPECT_EQ(GetSysColor(COLOR_BTNTEXT), GetPixel(c.dc(), k.tip.x, k.tip.y)) << k.kind;
        EXPECT_EQ(GetSysColor(COLOR_BTNTEXT), GetPixel(c.dc(), k.base.x, k.base.y)) << k.kind;
        const POINT beside = k.kind <= DFCS_SCROLLDOWN ? POINT{k.tip.x - 1, k.tip.y} : POINT{k.tip.x, k.tip.y - 1};
        EXPECT_EQ(GetSysColor(COLOR_3DFACE), GetPixel(c.dc(), beside.x, beside.y)) << k.kind;
    }
}

#include "platform/win/gdi/Contours.h"
#include "platform/win/gdi/Gdi.h"
#include "platform/win/gdi/Shapes.h"

#include <gtest/gtest.h>

namespace {

Region Pixels(const std::vector<std::string>& rows) {
    std::vector<RECT> rects;
    for (int y = 0; y < static_cast<int>(rows.size()); ++y)
        for (int x = 0; x < static_cast<int>(rows[y].size()); ++x)
            if (rows[y][x] == '#')
                rects.push_back({x, y, x + 1, y + 1});
    return Region::FromRects(rects);
}

} // namespace

TEST(Contours, ShapesComeBackUnderBothFillModes) {
    struct Case {
        std::vector<std::string> picture;
        std::size_t contours;
        std::size_t firstCorners;
    };
    const std::vector<Case> cases = {
        {{"###", "###"}, 1, 4},
        {{"#..", "###"}, 1, 6},                       // an L
        {{"###", "#.#", "###"}, 2, 4},                // a ring: outline and hole
        {{"#.", ".#"}, 2, 4},                         // corners touching: two squares
        {{"##.", "#.#", ".##"}, 2, 6},                // two Ls touching at two corners
    };
    for (const Case& k : cases) {
        const Region region = Pixels(k.picture);
        const std::vector<std::vector<POINT>> contours = RegionContours(region);
        ASSERT_EQ(k.contours, contours.size()) << k.picture[0];
        EXPECT_EQ(k.firstCorners, contours[0].size()) << k.picture[0];
        EXPECT_TRUE(PolygonShape(contours, ALTERNATE) == region) << k.picture[0];
        EXPECT_TRUE(PolygonShape(contours, WINDING) == region) << k.picture[0];
    }
    EXPECT_TRUE(RegionContours(Region()).empty());
}

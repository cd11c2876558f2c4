// Lexwiz's pictures: the sizes the window lays them out at, at any scale, and
// status images that stay apart from each other.

#include "wizard/wizard_artwork.h"

#include <gtest/gtest.h>

using namespace pellion;

namespace {

uint32_t alphaOf(uint32_t pixel)
{
    return pixel >> 24;
}

TEST(WizardArtwork, PicturesTakeTheirLayoutSizeTimesTheScale)
{
    for (const double scale : {1.0, 1.25, 1.5, 2.0}) {
        const Picture banner = bannerPicture(scale);
        EXPECT_EQ(banner.width, static_cast<int>(164 * scale + 0.5)) << scale;
        EXPECT_EQ(banner.height, static_cast<int>(313 * scale + 0.5)) << scale;
        EXPECT_EQ(banner.pixels.size(), static_cast<size_t>(banner.width) * banner.height);
        const Picture status = statusPicture(RowStatus::done, scale);
        EXPECT_EQ(status.width, static_cast<int>(16 * scale + 0.5)) << scale;
        EXPECT_EQ(status.height, status.width);
    }
    for (const int size : {16, 24, 32, 48}) {
        const Picture icon = iconPicture(size);
        EXPECT_EQ(icon.width, size);
        EXPECT_EQ(icon.height, size);
        EXPECT_EQ(alphaOf(icon.at(0, 0)), 0u) << "rounded corner";
        EXPECT_EQ(alphaOf(icon.at(size / 2, size / 2)), 255u);
    }
}

TEST(WizardArtwork, TheBannerCoversItsWholePlace)
{
    const Picture banner = bannerPicture(1.0);
    for (const uint32_t pixel : banner.pixels)
        ASSERT_EQ(alphaOf(pixel), 255u);
}

TEST(WizardArtwork, StatusImagesDifferAndTheEmptyOneShowsNothing)
{
    const Picture empty = statusPicture(RowStatus::empty, 1.0);
    for (const uint32_t pixel : empty.pixels)
        ASSERT_EQ(pixel, 0u);
    const Picture shown[] = {statusPicture(RowStatus::inProgress, 1.0), statusPicture(RowStatus::done, 1.0),
                             statusPicture(RowStatus::failed, 1.0)};
    for (const auto& picture : shown) {
        EXPECT_EQ(alphaOf(picture.at(0, 0)), 0u) << "round, not a square";
        EXPECT_EQ(alphaOf(picture.at(8, 2)), 255u);
    }
    // The ground colour of each circle tells them apart at a glance.
    EXPECT_NE(shown[0].at(8, 2), shown[1].at(8, 2));
    EXPECT_NE(shown[1].at(8, 2), shown[2].at(8, 2));
    EXPECT_NE(shown[0].at(8, 2), shown[2].at(8, 2));
}

}  // namespace

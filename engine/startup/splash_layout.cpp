// Placement arithmetic of the start-up windows.

#include "engine/startup/splash_layout.h"

#include <algorithm>

namespace pellion {

Point centredOnScreen(int width, int height, int screenWidth, int screenHeight)
{
    return {(screenWidth - width) / 2, (screenHeight - height) / 2};
}

Point preparingWindowBesideSplash(const Box& splash, int width, int height, int screenWidth, int screenHeight)
{
    const int left = splash.left + splash.width / 2 + 50;
    const int top = splash.top + splash.height + 25;
    return {std::min(left, screenWidth - width - 25), std::min(top, screenHeight - height - 45)};
}

}  // namespace pellion

// Where the "preparing" window goes beside the splash picture: right of the
// splash's middle and below it, but always fully on the screen.
#pragma once

namespace pellion {

struct Box {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

struct Point {
    int x = 0;
    int y = 0;
};

Point centredOnScreen(int width, int height, int screenWidth, int screenHeight);

// splash: the splash window on the screen; width/height: the "preparing" window.
Point preparingWindowBesideSplash(const Box& splash, int width, int height, int screenWidth, int screenHeight);

}  // namespace pellion

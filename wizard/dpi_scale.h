// Screen scaling: the wizard is laid out in units of 1/96 inch, and every
// position, size and font height goes through DpiScale on its way to the
// screen, so the window keeps its proportions at any resolution.
#pragma once

namespace pellion {

struct DpiScale {
    int dpi = 96;

    int operator()(int units) const
    {
        const int scaled = units * dpi;
        return scaled >= 0 ? (scaled + 48) / 96 : -((-scaled + 48) / 96);
    }
    double factor() const { return dpi / 96.0; }
};

}  // namespace pellion

// Where the canvas belongs in a window, reckoned independently of the program in exact integer
// arithmetic: the largest centred 16:9 rectangle, each side rounded to the nearest pixel with
// halves going to the even neighbour, and the odd half pixel of a bar lost on the left or top.
#pragma once

struct ReferenceRect {
    int x, y, w, h;
};

// numerator / denominator to the nearest whole number, halves to even.
inline int roundedQuotient(long numerator, long denominator)
{
    const long quotient = numerator / denominator, twiceRemainder = 2 * (numerator % denominator);
    if (twiceRemainder > denominator || (twiceRemainder == denominator && quotient % 2 == 1))
        return static_cast<int>(quotient + 1);
    return static_cast<int>(quotient);
}

inline ReferenceRect letterboxReference(int width, int height)
{
    int w = width, h = roundedQuotient(9L * width, 16);
    if (h > height) {
        h = height;
        w = roundedQuotient(16L * height, 9);
    }
    return ReferenceRect{(width - w) / 2, (height - h) / 2, w, h};
}

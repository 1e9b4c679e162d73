#pragma once
// The forms were laid out in twips: 15 of them to a pixel of a 96-dpi screen.
inline constexpr int TwipsPerPixel = 15;

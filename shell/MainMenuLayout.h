// Where the main menu puts its buttons for a client area, and the colours of the gradient
// behind them. Every length is a length of the 620 x 440 design times the scale of its
// direction, truncated toward zero on its own.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

struct MainMenuRect {
    int x;
    int y;
    int width;
    int height;
};

struct MainMenuLayout {
    double scaleX;
    double scaleY;
    int left;    // L
    int top;     // T
    int gap;     // G
    int width;   // W, of every button
    int height;  // H, of every button
    int bottom;  // B
};

// A button of the main menu and where it goes.
struct MainMenuButtonPlace {
    int id;
    MainMenuRect rect;
};

// Where the two pictures of the top band go, at their scaled sizes: the square emblem
// (picture 183) left of the banner (picture 185), which ends at the right margin.
struct MainMenuPictures {
    MainMenuRect emblem;
    MainMenuRect banner;
};

struct GradientStrip {
    int x;
    int width;
    std::uint8_t red;
    std::uint8_t green;
    std::uint8_t blue;
};

constexpr int kMainMenuDesignWidth = 620;
constexpr int kMainMenuDesignHeight = 440;
constexpr int kGradientStrips = 128;

MainMenuLayout ComputeMainMenuLayout(int clientWidth, int clientHeight);

// The eight visible buttons: 1000, 1001, 1002, 1005, 1006 down the left, 1003 at the bottom
// left, 1008 at the bottom right and 1009 above it.
std::array<MainMenuButtonPlace, 8> PlaceMainMenuButtons(const MainMenuLayout& layout,
                                                        int clientWidth,
                                                        int clientHeight);

// The emblem is T - 4 pixels square; the banner is 4/5 of that high, as wide as its aspect
// gives (bannerWidth x bannerHeight is its size as decoded).
MainMenuPictures PlaceMainMenuPictures(const MainMenuLayout& layout,
                                       int clientWidth,
                                       unsigned bannerWidth,
                                       unsigned bannerHeight);

// 128 strips that tile the width exactly, from dark blue (0, 32, 64) to white.
std::vector<GradientStrip> ComputeGradientStrips(int clientWidth);

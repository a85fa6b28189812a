#include "shell/MainMenuLayout.h"

#include "forms/ScaledLength.h"

MainMenuLayout ComputeMainMenuLayout(int clientWidth, int clientHeight) {
    MainMenuLayout layout = {};
    layout.scaleX = static_cast<double>(clientWidth) / kMainMenuDesignWidth;
    layout.scaleY = static_cast<double>(clientHeight) / kMainMenuDesignHeight;
    layout.left = ScaledLength(16, layout.scaleX);
    layout.top = ScaledLength(28, layout.scaleY);
    layout.gap = ScaledLength(16, layout.scaleY);
    layout.width = ScaledLength(220, layout.scaleX);
    layout.height = ScaledLength(40, layout.scaleY);
    layout.bottom = ScaledLength(24, layout.scaleY);
    return layout;
}

std::array<MainMenuButtonPlace, 8> PlaceMainMenuButtons(const MainMenuLayout& layout,
                                                        int clientWidth,
                                                        int clientHeight) {
    const int w = layout.width;
    const int h = layout.height;
    const int step = h + layout.gap;
    const int right = clientWidth - w - layout.left;
    const int lowRow = clientHeight - layout.bottom - h - layout.gap;
    const int secondLowRow = clientHeight - layout.bottom - 2 * h - 2 * layout.gap;
    return {{
        {1000, {layout.left, layout.top, w, h}},
        {1001, {layout.left, layout.top + step, w, h}},
        {1002, {layout.left, layout.top + 2 * step, w, h}},
        {1005, {layout.left, layout.top + 3 * step, w, h}},
        {1006, {layout.left, layout.top + 4 * step, w, h}},
        {1003, {layout.left, lowRow, w, h}},
        {1008, {right, lowRow, w, h}},
        {1009, {right, secondLowRow, w, h}},
    }};
}

MainMenuPictures PlaceMainMenuPictures(const MainMenuLayout& layout,
                                       int clientWidth,
                                       unsigned bannerWidth,
                                       unsigned bannerHeight) {
    const int side = layout.top - 4;
    const int height = 4 * side / 5;
    const int width =
        bannerHeight == 0 ? 0 : static_cast<int>(bannerWidth * static_cast<unsigned>(height) / bannerHeight);
    const int bannerX = clientWidth - width - layout.left;
    const int emblemX = bannerX - ScaledLength(8, layout.scaleX) - side;
    return {{emblemX, 2, side, side}, {bannerX, (layout.top - height) / 2, width, height}};
}

std::vector<GradientStrip> ComputeGradientStrips(int clientWidth) {
    std::vector<GradientStrip> strips;
    if (clientWidth <= 0) {
        return strips;
    }
    const int base = clientWidth / kGradientStrips;
    const int remainder = clientWidth % kGradientStrips;
    int accumulator = 0;
    int x = 0;
    for (int i = 0; i < kGradientStrips; ++i) {
        int width = base;
        accumulator += remainder;
        if (accumulator >= kGradientStrips) {
            accumulator -= kGradientStrips;
            ++width;
        }
        const int last = kGradientStrips - 1;
        strips.push_back({x, width, static_cast<std::uint8_t>(255 * i / last),
                          static_cast<std::uint8_t>((4064 + 223 * i) / last),
                          static_cast<std::uint8_t>((8128 + 191 * i) / last)});
        x += width;
    }
    return strips;
}

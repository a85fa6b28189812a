#include "shell/CFileDialogExtLayout.h"

#include <algorithm>

CFileDialogExtLayout::Box CFileDialogExtLayout::Target(const Box& mainWindow) {
    const int sideInset = mainWindow.Width() / 6;
    const int endInset = mainWindow.Height() / 4;
    return Box{mainWindow.left + sideInset, mainWindow.top + endInset, mainWindow.right - sideInset,
               mainWindow.bottom - endInset};
}

CFileDialogExtLayout::Box CFileDialogExtLayout::Grow(const Box& dialog,
                                                     const Box& target,
                                                     int columnsWidth,
                                                     int listWidth,
                                                     int scrollBarWidth) {
    const int missing = columnsWidth + scrollBarWidth - listWidth;
    const int dx = std::max({missing, target.Width() - dialog.Width(), 0});
    const int dy = std::max(target.Height() - dialog.Height(), 0);
    return Box{dialog.left - dx / 2, dialog.top - dy / 2, dialog.right + (dx - dx / 2),
               dialog.bottom + (dy - dy / 2)};
}

int CFileDialogExtLayout::NameColumnWidth(int listWidth,
                                          int listWindowWidth,
                                          int otherColumns,
                                          int scrollBarWidth) {
    int width = listWidth - otherColumns - scrollBarWidth;
    // The client area already leaves out a vertical bar that is showing.
    if (listWindowWidth - listWidth >= scrollBarWidth) {
        width += scrollBarWidth;
    }
    return width;
}

// The arithmetic of the enlarged file dialogs: the dialog grows toward a rectangle in the
// middle of the main window, and further when the list's columns need it, but never shrinks.
#pragma once

class CFileDialogExtLayout {
public:
    struct Box {
        int left;
        int top;
        int right;
        int bottom;

        int Width() const { return right - left; }

        int Height() const { return bottom - top; }

        bool operator==(const Box& other) const {
            return left == other.left && top == other.top && right == other.right && bottom == other.bottom;
        }
    };

    // The main window without a sixth of its width on each side and a quarter of its height
    // at the top and at the bottom.
    static Box Target(const Box& mainWindow);

    // The dialog's new rectangle. columnsWidth: all columns' widths together; listWidth: the
    // list's client width before growing.
    static Box Grow(const Box& dialog,
                    const Box& target,
                    int columnsWidth,
                    int listWidth,
                    int scrollBarWidth);

    // The name column's width once the list has grown. otherColumns: the widths of the
    // columns after the first; listWindowWidth: the list's window width, frame included.
    static int NameColumnWidth(int listWidth, int listWindowWidth, int otherColumns, int scrollBarWidth);
};

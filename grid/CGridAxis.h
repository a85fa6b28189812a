// The sizes along one direction of a grid: the heights of its rows or the widths of its
// columns, the first few of which are fixed (headers that do not scroll). A size of 0
// hides a row or column. Positions are client pixels; the scrolled part starts right
// after the fixed part.
#pragma once

#include <vector>

class CGridAxis {
public:
    int GetCount() const { return static_cast<int>(m_sizes.size()); }

    int GetFixedCount() const { return m_fixedCount; }

    // Keeps 0 <= fixed count <= count.
    void SetFixedCount(int count);
    // Grows with newSize for each added entry, or drops entries from the end.
    void Resize(int count, int newSize);
    // index == count appends.
    void Insert(int index, int size);
    void Erase(int index);

    bool IsValid(int index) const { return index >= 0 && index < GetCount(); }

    // -1 for an invalid index.
    int GetSize(int index) const;
    // False for an invalid index or a negative size.
    bool SetSize(int index, int size);
    int GetTotal() const;
    int GetFixedTotal() const;

    // The first scrolled entry shown when the scrolled part is moved by position pixels.
    int FirstAtScrollPos(int position) const;
    // The last entry at least partly shown when first is the first scrolled one and the
    // client extent is clientEnd. end receives where the shown entries end (clipped to
    // clientEnd); cut says whether the last one is cut by the client edge.
    int LastShown(int first, int clientEnd, int* end, bool* cut) const;
    // The client position of an entry's first pixel; false when it is scrolled away.
    bool GetOrigin(int index, int first, int* origin) const;
    // The entry under a client position; -1 when there is none.
    int IndexAt(int position, int first, bool allowFixed) const;

    // The next entry after index with a size above 0, or -1.
    int NextShown(int index) const;
    // The previous entry before index with a size above 0, not below stop, or -1.
    int PreviousShown(int index, int stop) const;
    // The size of one line scroll forward from first: the first entry from it with a size
    // above 0 (the last entry at most).
    int LineStepForward(int first) const;
    // The size of one line scroll back from first, or 0 when first is the first scrolled entry.
    int LineStepBack(int first) const;

    // Grows or shrinks the entries from the first (0 with includeFixed, else the first
    // scrolled one) so that all of them together take clientExtent. Entries of size 0 stay
    // hidden and a shrunk entry keeps at least one pixel. False when nothing was stretched.
    bool Stretch(int clientExtent, bool includeFixed);
    // Gives the room left over to the last shown entry (never entry 0). False when there is
    // no such entry.
    bool StretchLast(int clientExtent);

private:
    std::vector<int> m_sizes;
    int m_fixedCount = 0;
};

#include "grid/CGridAxis.h"

#include <algorithm>
#include <cstdlib>

void CGridAxis::SetFixedCount(int count) {
    m_fixedCount = std::max(0, std::min(count, GetCount()));
}

void CGridAxis::Resize(int count, int newSize) {
    m_sizes.resize(static_cast<size_t>(std::max(0, count)), std::max(0, newSize));
    m_fixedCount = std::min(m_fixedCount, GetCount());
}

void CGridAxis::Insert(int index, int size) {
    const int at = std::max(0, std::min(index, GetCount()));
    m_sizes.insert(m_sizes.begin() + at, std::max(0, size));
}

void CGridAxis::Erase(int index) {
    if (!IsValid(index)) {
        return;
    }
    m_sizes.erase(m_sizes.begin() + index);
    if (index < m_fixedCount) {
        --m_fixedCount;
    }
}

int CGridAxis::GetSize(int index) const {
    return IsValid(index) ? m_sizes[static_cast<size_t>(index)] : -1;
}

bool CGridAxis::SetSize(int index, int size) {
    if (!IsValid(index) || size < 0) {
        return false;
    }
    m_sizes[static_cast<size_t>(index)] = size;
    return true;
}

int CGridAxis::GetTotal() const {
    int total = 0;
    for (int size : m_sizes) {
        total += size;
    }
    return total;
}

int CGridAxis::GetFixedTotal() const {
    int total = 0;
    for (int i = 0; i < m_fixedCount; ++i) {
        total += m_sizes[static_cast<size_t>(i)];
    }
    return total;
}

int CGridAxis::FirstAtScrollPos(int position) const {
    int index = m_fixedCount;
    int passed = 0;
    while (passed < position && index < GetCount() - 1) {
        passed += m_sizes[static_cast<size_t>(index)];
        ++index;
    }
    return index;
}

int CGridAxis::LastShown(int first, int clientEnd, int* end, bool* cut) const {
    int running = GetFixedTotal();
    int last = first - 1;
    bool isCut = false;
    for (int i = std::max(first, 0); i < GetCount() && running < clientEnd; ++i) {
        running += m_sizes[static_cast<size_t>(i)];
        last = i;
        if (running > clientEnd) {
            isCut = true;
            running = clientEnd;
        }
    }
    if (end != nullptr) {
        *end = running;
    }
    if (cut != nullptr) {
        *cut = isCut;
    }
    return std::min(last, GetCount() - 1);
}

bool CGridAxis::GetOrigin(int index, int first, int* origin) const {
    if (!IsValid(index)) {
        return false;
    }
    int position = 0;
    if (index < m_fixedCount) {
        for (int i = 0; i < index; ++i) {
            position += m_sizes[static_cast<size_t>(i)];
        }
    } else {
        if (first < m_fixedCount || index < first) {
            return false;
        }
        position = GetFixedTotal();
        for (int i = first; i < index; ++i) {
            position += m_sizes[static_cast<size_t>(i)];
        }
    }
    *origin = position;
    return true;
}

int CGridAxis::IndexAt(int position, int first, bool allowFixed) const {
    const int fixedTotal = GetFixedTotal();
    if (position < 0 || (position < fixedTotal && !allowFixed)) {
        return -1;
    }
    if (position < fixedTotal) {
        int end = 0;
        for (int i = 0; i < m_fixedCount; ++i) {
            end += m_sizes[static_cast<size_t>(i)];
            if (end > position) {
                return i;
            }
        }
        return m_fixedCount;
    }
    if (first < m_fixedCount || first >= GetCount()) {
        return -1;
    }
    int end = fixedTotal;
    for (int i = first; i < GetCount(); ++i) {
        end += m_sizes[static_cast<size_t>(i)];
        if (end > position) {
            return i;
        }
    }
    return -1;
}

int CGridAxis::NextShown(int index) const {
    for (int i = index + 1; i < GetCount(); ++i) {
        if (m_sizes[static_cast<size_t>(i)] > 0) {
            return i;
        }
    }
    return -1;
}

int CGridAxis::PreviousShown(int index, int stop) const {
    for (int i = index - 1; i >= stop && i >= 0; --i) {
        if (m_sizes[static_cast<size_t>(i)] > 0) {
            return i;
        }
    }
    return -1;
}

int CGridAxis::LineStepForward(int first) const {
    if (!IsValid(first)) {
        return 0;
    }
    int index = first;
    while (m_sizes[static_cast<size_t>(index)] == 0 && index < GetCount() - 1) {
        ++index;
    }
    return m_sizes[static_cast<size_t>(index)];
}

int CGridAxis::LineStepBack(int first) const {
    if (first <= m_fixedCount) {
        return 0;
    }
    const int previous = PreviousShown(std::min(first, GetCount()), m_fixedCount);
    return previous < 0 ? 0 : m_sizes[static_cast<size_t>(previous)];
}

bool CGridAxis::Stretch(int clientExtent, bool includeFixed) {
    const int first = includeFixed ? 0 : m_fixedCount;
    if (first >= GetCount()) {
        return false;
    }
    int counted = 0;
    for (int i = first; i < GetCount(); ++i) {
        counted += m_sizes[static_cast<size_t>(i)] != 0 ? 1 : 0;
    }
    if (counted == 0) {
        return false;
    }
    const int difference = clientExtent - GetTotal();
    const int share = difference / counted;
    for (int i = first; i < GetCount(); ++i) {
        int& size = m_sizes[static_cast<size_t>(i)];
        if (size != 0) {
            size = std::max(1, size + share);
        }
    }
    const int remainder = std::abs(difference) % counted;
    for (int i = first; i < first + remainder && i < GetCount(); ++i) {
        int& size = m_sizes[static_cast<size_t>(i)];
        if (size != 0) {
            size = std::max(1, size + (difference > 0 ? 1 : -1));
        }
    }
    return true;
}

bool CGridAxis::StretchLast(int clientExtent) {
    const int last = PreviousShown(GetCount(), 0);
    if (last <= 0) {
        return false;
    }
    const int difference = clientExtent - GetTotal();
    if (difference > 0) {
        m_sizes[static_cast<size_t>(last)] += difference;
    }
    return true;
}

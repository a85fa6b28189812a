// The font cache: a linear scan over a few dozen fonts, one per face, size, scale and weight.
#include "forms/fonts/CFontCache.h"

#include <cstring>

CFontCache::~CFontCache() {
    while (!m_fonts.empty()) {
        m_fonts.pop_front();
    }
}

CFont* CFontCache::GetFont(const LOGFONTA* logFont) {
    if (logFont == nullptr) {
        return nullptr;
    }
    CFont* cached = FindFont(logFont);
    if (cached != nullptr) {
        return cached;
    }
    Entry& entry = m_fonts.emplace_back();
    std::memcpy(&entry.request, logFont, sizeof(LOGFONTA));
    // A refused description stays as an empty font (handle 0): its users keep the system
    // font, and later identical requests find this entry instead of asking again.
    entry.font.CreateFontIndirect(logFont);
    return &entry.font;
}

CFont* CFontCache::FindFont(const LOGFONTA* logFont) {
    if (logFont == nullptr) {
        return nullptr;
    }
    for (Entry& entry : m_fonts) {
        if (std::memcmp(&entry.request, logFont, sizeof(LOGFONTA)) == 0) {
            return &entry.font;
        }
    }
    return nullptr;
}

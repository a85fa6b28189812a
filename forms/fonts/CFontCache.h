// One shared store of fonts for every page and dialog: a font is created once per
// description and lives until the cache goes, so windows may keep its handle.
#pragma once

#include "classlib/win/CFont.h"

#include <windows.h>

#include <list>

class CFontCache {
public:
    CFontCache() = default;
    // Deletes every font, in the order of creation.
    virtual ~CFontCache();

    CFontCache(const CFontCache&) = delete;
    CFontCache& operator=(const CFontCache&) = delete;

    // The cached font of exactly these 60 bytes (zero the whole LOGFONT before filling it),
    // else a new one. The cache owns the result; its handle is 0 when the system refused the
    // description. Null only for a null request.
    CFont* GetFont(const LOGFONTA* logFont);
    // The cached font of exactly these 60 bytes, or null.
    CFont* FindFont(const LOGFONTA* logFont);

private:
    struct Entry {
        // The request as asked, not as read back: the system drops the face-name bytes after
        // the terminator and cannot describe a font it refused to create.
        LOGFONTA request;
        CFont font;
    };

    // A list, so that the fonts handed out keep their addresses as the cache grows.
    std::list<Entry> m_fonts;
};

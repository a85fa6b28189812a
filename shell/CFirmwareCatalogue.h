#pragma once
// The firmware catalogue "firmware.xml": the per-language descriptions of every firmware build
// seen in a zipped update file, kept sorted by version, build, branch and language, and the
// version history built from them. UI thread only: the XML parser's options are process-wide.

#include "classlib/core/CMap.h"
#include "classlib/core/CString.h"
#include "classlib/core/WinTypes.h"
#include "forms/XmlCodes.h"
#include "forms/XmlElement.h"

class CFirmwareCatalogue {
public:
    // Results of FindFirmwarePosition besides a content index.
    static constexpr int kEntryExists = -2;
    static constexpr int kAtEnd = -1;

    // Starts with a new, empty document.
    CFirmwareCatalogue();

    // Reads the catalogue; a missing or unreadable file gives a new, empty document. Sets the
    // parser's options for single-byte text with white-space trimming.
    void Open(LPCSTR path);

    // Writes the whole document as single-byte text, indented, through a temporary file beside it that then
    // replaces the old one. A file that existed but could not be read is left as it was while
    // nothing has been added, so that a damaged catalogue is not swapped for an empty one.
    XmlErrorCode Write(LPCSTR path) const;

    // Adds one entry per language of descriptions (language key to text) that the catalogue
    // does not hold yet for this build; an existing entry keeps its description.
    void AddFirmwareDescriptions(int major,
                                 int minor,
                                 int build,
                                 int branch,
                                 const CMapStringToString& descriptions);

    // Where the entry belongs among the items of "document": kEntryExists, the content index
    // of the item to insert before, or kAtEnd. searchStart (negative: from the first item) is
    // moved to the last item whose version, build or branch is smaller.
    int FindFirmwarePosition(int& searchStart, int major, int minor, int build, int branch, LPCSTR language)
        const;

    // The history of one firmware version in one language (a two-letter ISO 639 name, compared
    // ignoring case): the asked build first, then the older builds of the main line, newest
    // first, in blocks separated by CR LF. Empty when nothing fits.
    void GetVersionHistory(LPCSTR version,
                           LPCSTR build,
                           LPCSTR branch,
                           LPCSTR isoLanguage,
                           CString& text) const;

    // The two-letter ISO 639 name of a Windows language id ("en" for 1033). Windows only.
    static CString IsoLanguageName(DWORD languageId);

    const XmlElement& Root() const { return m_root; }

private:
    static XmlElement CreateEmptyDocument();
    static bool ReplaceCatalogueFile(LPCSTR from, LPCSTR to);

    XmlElement Document() const { return m_root.GetChild("document"); }

    XmlElement m_root;
    // The file existed but did not parse; it is kept until entries are added.
    bool m_unreadFileKept = false;
    bool m_changed = false;
};

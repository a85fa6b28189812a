// The firmware catalogue: reading and writing "firmware.xml", the sorted insertion of new
// entries and the version history.
#include "shell/CFirmwareCatalogue.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

const char* const kEncodingName = "ISO-8859-1";
const char* const kMainBranch = "0";
const char* const kBuildBlock =
    "--------------------\r\nv%s-%s\r\n--------------------\r\n\r\n%s\r\n\r\n\r\n";
const char* const kBranchBuildBlock =
    "--------------------\r\nv%s-%s (%s)\r\n--------------------\r\n\r\n%s\r\n\r\n\r\n";
const char* const kHeading = "--------------------\r\nv%s-%s\r\n--------------------\r\n\r\n";
const char* const kBranchHeading = "--------------------\r\nv%s-%s (%s)\r\n--------------------\r\n\r\n";

// The text of the element's child of that name; "" when there is none.
const char* ChildText(const XmlElement& element, const char* name) {
    const char* text = element.GetChild(name).GetText(0);
    return text != nullptr ? text : "";
}

// The leading decimal number of a text; 0 when there is none, saturated at the int range.
int ParseNumber(const char* text) {
    const long value = std::strtol(text, nullptr, 10);
    if (value > INT_MAX) {
        return INT_MAX;
    }
    if (value < INT_MIN) {
        return INT_MIN;
    }
    return static_cast<int>(value);
}

struct EntryKey {
    int major = 0;
    int minor = 0;
    int build = 0;
    int branch = 0;
};

// Major is the number before the first "."; without one the whole text is the minor.
EntryKey ReadEntryKey(const XmlElement& entry) {
    EntryKey key;
    const char* version = ChildText(entry, "version");
    const char* dot = std::strchr(version, '.');
    if (dot != nullptr) {
        key.major = ParseNumber(version);
        key.minor = ParseNumber(dot + 1);
    } else {
        key.minor = ParseNumber(version);
    }
    key.build = ParseNumber(ChildText(entry, "build"));
    key.branch = ParseNumber(ChildText(entry, "branch"));
    return key;
}

// Negative when a comes first, positive when b does, 0 when version, build and branch agree.
int CompareKeys(const EntryKey& a, const EntryKey& b) {
    const int fields[][2] = {
        {a.major, b.major}, {a.minor, b.minor}, {a.build, b.build}, {a.branch, b.branch}};
    for (const auto& field : fields) {
        if (field[0] != field[1]) {
            return field[0] < field[1] ? -1 : 1;
        }
    }
    return 0;
}

void AddTextChild(XmlElement& parent, const char* name, const char* text) {
    parent.AddChild(name).AddText(text);
}

void Prepend(CString& text, const CString& block) {
    text = block + text;
}

}  // namespace

CFirmwareCatalogue::CFirmwareCatalogue() : m_root(CreateEmptyDocument()) {}

XmlElement CFirmwareCatalogue::CreateEmptyDocument() {
    XmlElement root = XmlElement::CreateTopElement("xml", true);
    root.AddAttribute("version", "1.0");
    root.AddAttribute("encoding", "iso-8859-1");
    return root;
}

void CFirmwareCatalogue::Open(LPCSTR path) {
    XmlElement::SetGlobalOptions(XmlCharEncoding::SingleByte, true, true);
    m_changed = false;
    m_unreadFileKept = false;
    m_root = XmlElement::LoadFile(path);
    // Loading guesses the encoding from the file; the catalogue stays single-byte whatever a
    // hand-edited file declares, so that writing it never adds a UTF-8 mark.
    XmlElement::SetGlobalOptions(XmlCharEncoding::SingleByte, true, true);
    if (!m_root.IsEmpty()) {
        return;
    }
    m_root = CreateEmptyDocument();
    std::FILE* file = std::fopen(path, "rb");
    if (file != nullptr) {
        m_unreadFileKept = true;
        std::fclose(file);
    }
}

XmlErrorCode CFirmwareCatalogue::Write(LPCSTR path) const {
    if (m_unreadFileKept && !m_changed) {
        return XmlErrorCode::None;
    }
    XmlElement::SetGlobalOptions(XmlCharEncoding::SingleByte, true, true);
    const CString temporary = CString(path) + ".tmp";
    const XmlErrorCode code = m_root.WriteToFile(temporary, kEncodingName, true);
    if (code != XmlErrorCode::None) {
        std::remove(temporary);
        return code;
    }
    if (!ReplaceCatalogueFile(temporary, path)) {
        std::remove(temporary);
        return XmlErrorCode::CannotWrite;
    }
    return XmlErrorCode::None;
}

void CFirmwareCatalogue::AddFirmwareDescriptions(int major,
                                                 int minor,
                                                 int build,
                                                 int branch,
                                                 const CMapStringToString& descriptions) {
    XmlElement document = Document();
    if (document.IsEmpty()) {
        document = m_root.AddChild("document");
    }
    CString version;
    version.Format("%d.%02d", major, minor);
    CString buildText;
    buildText.Format("%04d", build);
    CString branchText;
    branchText.Format("%d", branch);
    int searchStart = kAtEnd;
    POSITION position = descriptions.GetStartPosition();
    while (position != nullptr) {
        CString language;
        CString description;
        descriptions.GetNextAssoc(position, language, description);
        const int index = FindFirmwarePosition(searchStart, major, minor, build, branch, language);
        if (index == kEntryExists) {
            continue;
        }
        // Positions of new children do not count the attributes that the content index does.
        const int insertAt = index == kAtEnd ? -1 : index - document.AttributeCount();
        XmlElement entry = document.AddChild("firmware", false, insertAt);
        AddTextChild(entry, "name", "Name");
        AddTextChild(entry, "version", version);
        AddTextChild(entry, "build", buildText);
        AddTextChild(entry, "branch", branchText);
        AddTextChild(entry, "language", language);
        AddTextChild(entry, "description", description);
        m_changed = true;
    }
}

int CFirmwareCatalogue::FindFirmwarePosition(int& searchStart,
                                             int major,
                                             int minor,
                                             int build,
                                             int branch,
                                             LPCSTR language) const {
    const XmlElement document = Document();
    const EntryKey wanted{major, minor, build, branch};
    const int count = document.ContentCount();
    const int first = searchStart < 0 ? document.AttributeCount() : searchStart;
    for (int index = first; index < count; ++index) {
        const XmlContents item = document.EnumContents(index);
        if (item.type != XmlContentType::Child) {
            continue;
        }
        const int order = CompareKeys(ReadEntryKey(item.child), wanted);
        if (order < 0) {
            searchStart = index;
            continue;
        }
        if (order > 0) {
            return index;
        }
        const int languageOrder = CString(ChildText(item.child, "language")).CompareNoCase(language);
        if (languageOrder == 0) {
            return kEntryExists;
        }
        if (languageOrder > 0) {
            return index;
        }
    }
    return kAtEnd;
}

void CFirmwareCatalogue::GetVersionHistory(LPCSTR version,
                                           LPCSTR build,
                                           LPCSTR branch,
                                           LPCSTR isoLanguage,
                                           CString& text) const {
    text.Empty();
    const XmlElement document = Document();
    bool found = false;
    const int count = document.ContentCount();
    for (int index = document.AttributeCount(); index < count && !found; ++index) {
        const XmlContents item = document.EnumContents(index);
        if (item.type != XmlContentType::Child) {
            continue;
        }
        const XmlElement& entry = item.child;
        const char* entryVersion = ChildText(entry, "version");
        if (CString(ChildText(entry, "language")).CompareNoCase(isoLanguage) != 0 ||
            std::strcmp(entryVersion, version) != 0) {
            continue;
        }
        const char* entryBuild = ChildText(entry, "build");
        const char* entryBranch = ChildText(entry, "branch");
        if (entryBranch[0] == '\0') {
            entryBranch = kMainBranch;
        }
        const int buildOrder = std::strcmp(entryBuild, build);
        if (buildOrder > 0) {
            break;
        }
        const bool mainBranch = std::strcmp(entryBranch, kMainBranch) == 0;
        const bool asked = buildOrder == 0 && std::strcmp(entryBranch, branch) == 0;
        CString block;
        if (mainBranch) {
            block.Format(kBuildBlock, entryVersion, entryBuild, ChildText(entry, "description"));
        } else if (asked) {
            block.Format(kBranchBuildBlock, entryVersion, entryBuild, entryBranch,
                         ChildText(entry, "description"));
        }
        Prepend(text, block);
        found = asked;
    }
    if (text.IsEmpty() || found) {
        return;
    }
    CString heading;
    if (std::strcmp(branch, kMainBranch) != 0) {
        heading.Format(kBranchHeading, version, build, branch);
    } else {
        heading.Format(kHeading, version, build);
    }
    Prepend(text, heading);
}

#include "forms/XmlFile.h"

#include "forms/XmlAsciiCase.h"
#include "forms/XmlCharSet.h"
#include "forms/XmlElement.h"
#include "forms/XmlGlobalOptions.h"
#include "forms/XmlParser.h"
#include "forms/XmlWideText.h"
#include "forms/XmlWriter.h"

#include <cstdio>
#include <cstring>
#include <vector>

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

const unsigned char kUtf8Mark[] = {0xEF, 0xBB, 0xBF};
const size_t kGuessBytes = 200;
const size_t kMinGuessBytes = 25;
const size_t kPaddingBytes = 4;  // zero bytes after the content, for 16-bit conversions

// Reads at most limit bytes (all when limit is 0). False when the file cannot be opened.
bool ReadFile(const char* path, size_t limit, std::vector<char>& data) {
    FilePtr file(std::fopen(path, "rb"));
    if (!file) {
        return false;
    }
    char chunk[65536];
    while (limit == 0 || data.size() < limit) {
        size_t wanted = sizeof(chunk);
        if (limit != 0 && limit - data.size() < wanted) {
            wanted = limit - data.size();
        }
        const size_t got = std::fread(chunk, 1, wanted, file.get());
        data.insert(data.end(), chunk, chunk + got);
        if (got < wanted) {
            break;
        }
    }
    return true;
}

bool StartsWithUtf8Mark(const char* data, size_t length) {
    return length >= sizeof(kUtf8Mark) && std::memcmp(data, kUtf8Mark, sizeof(kUtf8Mark)) == 0;
}

bool IsWide(const char* data, size_t length) {
    return XmlWideText::IsWideText(reinterpret_cast<const unsigned char*>(data), length);
}

XmlCharEncoding WalkAsUtf8(const char* buffer, size_t length) {
    const XmlCharSet& utf8 = XmlCharSet::For(XmlCharEncoding::Utf8);
    size_t i = 0;
    while (i < length) {
        const int lead = utf8.LeadLength(static_cast<unsigned char>(buffer[i]));
        if (lead == 0) {
            break;
        }
        for (int k = 1; k < lead && i + static_cast<size_t>(k) < length; ++k) {
            if ((static_cast<unsigned char>(buffer[i + static_cast<size_t>(k)]) & 0xC0) != 0x80) {
                return XmlCharEncoding::SingleByte;
            }
        }
        i += static_cast<size_t>(lead);
    }
    return XmlCharEncoding::Utf8;
}

// The encoding named by an encoding="..." in the buffer, or the walk's guess when there is none.
XmlCharEncoding EncodingFromDeclaration(const char* buffer, size_t length, XmlCharEncoding walk) {
    const std::string text(buffer, length);
    size_t i = text.find("encoding");
    if (i == std::string::npos) {
        return walk;
    }
    i += std::strlen("encoding");
    auto skipSpace = [&]() {
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n' || text[i] == '\r')) {
            ++i;
        }
    };
    skipSpace();
    if (i >= text.size() || text[i] != '=') {
        return walk;
    }
    ++i;
    skipSpace();
    if (i >= text.size() || (text[i] != '"' && text[i] != '\'')) {
        return walk;
    }
    const char quote = text[i++];
    skipSpace();
    std::string name;
    for (; i < text.size() && text[i] != quote && text[i] != ' ' && text[i] != '\t'; ++i) {
        name.push_back(LowerAscii(text[i]));
    }
    if (name == "utf-8" || name == "utf8") {
        return walk == XmlCharEncoding::Utf8 ? XmlCharEncoding::Utf8 : XmlCharEncoding::None;
    }
    if (name == "shiftjis" || name == "shift-jis" || name == "sjis") {
        return XmlCharEncoding::ShiftJis;
    }
    return XmlCharEncoding::SingleByte;
}

struct ReportParts {
    const char* path;
    const char* errorText;
    int line;
    int column;
    const char* tagIntro;
    const char* tag;
    const char* tagOutro;
};

int PrintReport(char* buffer, size_t size, const ReportParts& parts) {
    return std::snprintf(
        buffer, size, "XML Parsing error inside file '%s'.\n%s\nAt line %i, column %i.\n%s%s%s", parts.path,
        parts.errorText, parts.line, parts.column, parts.tagIntro, parts.tag, parts.tagOutro);
}

std::string BuildReport(const char* path, const char* firstTag, const XmlParseResults& results) {
    const bool tagMissing = results.error == XmlErrorCode::FirstTagNotFound;
    ReportParts parts{path,
                      XmlElement::XmlErrorText(results.error),
                      results.line,
                      results.column,
                      tagMissing ? "First Tag should be '" : "",
                      tagMissing && firstTag != nullptr ? firstTag : "",
                      tagMissing ? "'.\n" : ""};
    const int size = PrintReport(nullptr, 0, parts);
    std::string report(static_cast<size_t>(size) + 1, '\0');
    PrintReport(&report[0], report.size(), parts);
    report.resize(static_cast<size_t>(size));
    return report;
}

bool WriteAll(std::FILE* file, const void* data, size_t length) {
    return std::fwrite(data, 1, length, file) == length;
}

bool NeedsHeader(const XmlNode& node) {
    if (node.declaration) {
        return false;
    }
    return !(node.name.IsNull() && !node.children.empty() && node.children.front()->declaration);
}

}  // namespace

std::shared_ptr<XmlNode> XmlFile::Parse(const char* path, const char* firstTag, XmlParseResults* results) {
    XmlParseResults local;
    XmlParseResults& out = results != nullptr ? *results : local;
    out = XmlParseResults();
    std::vector<char> data;
    if (path == nullptr || !ReadFile(path, 0, data)) {
        out.error = XmlErrorCode::FileNotFound;
        return nullptr;
    }
    if (data.empty()) {
        out.error = XmlErrorCode::NoData;
        return nullptr;
    }
    const size_t length = data.size();
    data.insert(data.end(), kPaddingBytes, '\0');
    const XmlGlobalOptions& options = XmlGlobalOptions::Current();
    const char* text = data.data();
    size_t textLength = length;
    std::string narrow;
    if (options.WideTextDetection() && IsWide(text, length)) {
        const auto* units = reinterpret_cast<const unsigned char*>(text);
        const size_t skip = (units[0] == 0xFF && units[1] == 0xFE) ? 2 : 0;
        if (!XmlWideText::ToNarrow(units + skip, length - skip, options.Encoding(), narrow)) {
            out.error = XmlErrorCode::WideConversion;
            return nullptr;
        }
        text = narrow.c_str();
        textLength = narrow.size();
    } else if (options.WideTextDetection() && StartsWithUtf8Mark(text, length)) {
        text += sizeof(kUtf8Mark);
        textLength -= sizeof(kUtf8Mark);
    }
    return XmlParser::ParseDocument(text, textLength, firstTag, &out);
}

std::shared_ptr<XmlNode> XmlFile::Load(const char* path, const char* firstTag, std::string* report) {
    std::vector<char> head;
    if (path != nullptr && ReadFile(path, kGuessBytes, head)) {
        const XmlCharEncoding guess = GuessEncoding(head.data(), head.size(), true);
        XmlGlobalOptions& options = XmlGlobalOptions::Current();
        if (guess != XmlCharEncoding::None) {
            options.Set(guess, options.WideTextDetection(), options.TrimWhiteSpace());
        }
    }
    XmlParseResults results;
    std::shared_ptr<XmlNode> node = Parse(path, firstTag, &results);
    if (results.error != XmlErrorCode::None && report != nullptr) {
        *report = BuildReport(path != nullptr ? path : "", firstTag, results);
    }
    return node;
}

XmlErrorCode XmlFile::Write(const XmlNode& node, const char* path, const char* encodingName, bool format) {
    FilePtr file(path != nullptr ? std::fopen(path, "wb") : nullptr);
    if (!file) {
        return XmlErrorCode::CannotOpenForWriting;
    }
    const XmlGlobalOptions& options = XmlGlobalOptions::Current();
    bool written = true;
    if (options.Encoding() == XmlCharEncoding::Utf8) {
        written = WriteAll(file.get(), kUtf8Mark, sizeof(kUtf8Mark));
    }
    if (written && NeedsHeader(node)) {
        const char* encoding = "ISO-8859-1";
        if (options.Encoding() == XmlCharEncoding::Utf8) {
            encoding = "utf-8";
        } else if (options.Encoding() == XmlCharEncoding::ShiftJis) {
            encoding = "SHIFT-JIS";
        } else if (encodingName != nullptr) {
            encoding = encodingName;
        }
        const std::string header = std::string("<?xml version=\"1.0\" encoding=\"") + encoding + "\"?>\n";
        written = WriteAll(file.get(), header.data(), header.size());
    }
    if (written) {
        std::string text;
        XmlWriter(format && options.TrimWhiteSpace(), options.CharSet()).Write(node, text);
        written = WriteAll(file.get(), text.data(), text.size());
    }
    const bool closed = std::fclose(file.release()) == 0;
    return written && closed ? XmlErrorCode::None : XmlErrorCode::CannotWrite;
}

XmlCharEncoding XmlFile::GuessEncoding(const char* buffer, size_t length, bool lookForDeclaration) {
    if (buffer == nullptr || length < kMinGuessBytes) {
        return XmlCharEncoding::None;
    }
    if (XmlGlobalOptions::Current().WideTextDetection() && IsWide(buffer, length)) {
        return XmlCharEncoding::None;
    }
    if (StartsWithUtf8Mark(buffer, length)) {
        return XmlCharEncoding::Utf8;
    }
    const XmlCharEncoding walk = WalkAsUtf8(buffer, length);
    if (!lookForDeclaration) {
        return walk;
    }
    return EncodingFromDeclaration(buffer, length < kGuessBytes ? length : kGuessBytes, walk);
}

#include "XmlTestSupport.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

ScopedXmlOptions::ScopedXmlOptions(XmlCharEncoding encoding, bool wideTextDetection, bool trimWhiteSpace) {
    XmlElement::SetGlobalOptions(encoding, wideTextDetection, trimWhiteSpace);
}

ScopedXmlOptions::~ScopedXmlOptions() {
    XmlElement::SetGlobalOptions(XmlCharEncoding::Utf8, true, true);
}

namespace {

std::string Quote(const char* text) {
    return text == nullptr ? "(null)" : "'" + std::string(text) + "'";
}

}  // namespace

std::string DescribeTree(const XmlElement& element) {
    if (element.IsEmpty()) {
        return "(empty)";
    }
    std::string out = element.IsDeclaration() ? "<?" : "<";
    out += Quote(element.GetName());
    for (int i = 0; i < element.ContentCount(); ++i) {
        const XmlContents item = element.EnumContents(i);
        switch (item.type) {
        case XmlContentType::Attribute:
            out += " @" + Quote(item.attribute->Name()) + "=" + Quote(item.attribute->Value());
            break;
        case XmlContentType::Child:
            out += " " + DescribeTree(item.child);
            break;
        case XmlContentType::Text:
            out += " T" + Quote(item.text);
            break;
        case XmlContentType::Clear:
            out += " C" + Quote(item.clear->Opening()) + Quote(item.clear->Text()) +
                   Quote(item.clear->Closing());
            break;
        case XmlContentType::None:
            out += " ?";
            break;
        }
    }
    return out + ">";
}

std::string WriteFlat(const XmlElement& element) {
    const XmlString text = element.CreateString(false);
    return text.IsNull() ? std::string() : std::string(text.CStr(), text.Length());
}

TempXmlFile::TempXmlFile(const std::string& name)
    : m_path((std::filesystem::temp_directory_path() / ("forms_xml_test_" + name)).string()) {
    std::remove(m_path.c_str());
}

TempXmlFile::~TempXmlFile() {
    std::remove(m_path.c_str());
}

void TempXmlFile::WriteBytes(const std::string& bytes) const {
    std::ofstream(m_path, std::ios::binary) << bytes;
}

std::string TempXmlFile::ReadBytes() const {
    std::ifstream in(m_path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

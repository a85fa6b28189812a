// Building the conversion table from its XML and converting with it.
#include "firmware/CXferTable.h"

#include "firmware/IResourceSource.h"
#include "forms/XmlElement.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

namespace {

const char* const kDefaultToBytes = "b0 = v0";
const char* const kDefaultToValues = "v0 = b0";

// The first text of the child `name`, or the default when there is none or it is empty.
std::string ProgramOf(const XmlElement& element, const char* name, const char* fallback) {
    const char* text = element.GetChild(name).GetText(0);
    return text != nullptr && text[0] != '\0' ? text : fallback;
}

// The id as a 32-bit strtol reads it in base 16, so that every platform sees the same ids;
// 0 when it is missing, empty or not above 0.
DWORD IdOf(const XmlElement& element) {
    const char* text = element.GetAttribute("id");
    if (text == nullptr || text[0] == '\0') {
        return 0;
    }
    const long long id = std::strtoll(text, nullptr, 16);
    if (id <= 0) {
        return 0;
    }
    return static_cast<DWORD>(std::min<long long>(id, std::numeric_limits<std::int32_t>::max()));
}

}  // namespace

CXferTable::CXferTable(UINT resourceId, const IResourceSource& resources) {
    std::string text;
    if (resources.GetResource(kResourceType, resourceId, text) && !text.empty()) {
        Parse(text.data(), text.size());
    }
}

void CXferTable::Parse(const char* text, std::size_t length) {
    // The first tag finds "xfers" whether it is the document's only element or follows the
    // declaration.
    const XmlElement xfers = XmlElement::ParseString(text, length, "xfers", nullptr);
    for (int i = xfers.AttributeCount(); i < xfers.ContentCount(); ++i) {
        const XmlContents item = xfers.EnumContents(i);
        if (item.type != XmlContentType::Child || std::strcmp(item.child.GetName(), "element") != 0) {
            continue;
        }
        const DWORD id = IdOf(item.child);
        if (id == 0) {
            continue;
        }
        auto conversion = std::make_unique<XferConversion>(ProgramOf(item.child, "degr", kDefaultToBytes),
                                                           ProgramOf(item.child, "aggr", kDefaultToValues));
        m_byId[id] = conversion.get();
        m_entries.emplace_back(id, std::move(conversion));
    }
}

XferConversion* CXferTable::Find(DWORD id) const {
    const auto found = m_byId.find(id);
    return found != m_byId.end() ? found->second : nullptr;
}

INT_PTR CXferTable::ValuesToBytes(DWORD id, const CArray<double, double>& values, CByteArray& bytes) {
    XferConversion* conversion = Find(id);
    if (conversion == nullptr) {
        bytes.RemoveAll();
        for (INT_PTR i = 0; i < values.GetSize(); ++i) {
            bytes.Add(XferConversion::ToByte(values[i]));
        }
        return bytes.GetSize();
    }
    conversion->ValuesToBytes(values, bytes);
    return bytes.GetSize();
}

void CXferTable::BytesToValues(DWORD id, const CByteArray& bytes, CArray<double, double>& values) {
    XferConversion* conversion = Find(id);
    if (conversion == nullptr) {
        values.RemoveAll();
        for (INT_PTR i = 0; i < bytes.GetSize(); ++i) {
            values.Add(bytes[i]);
        }
        return;
    }
    conversion->BytesToValues(bytes, values);
}

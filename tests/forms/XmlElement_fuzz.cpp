// Fuzz target of the XML parser: parsing and writing arbitrary text, entity decoding and
// escaping, and random sequences of changes through the element interface. The first byte picks
// the encoding, trimming and the mode.

#include "forms/XmlElement.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// The order of children, texts and clear sections must list each array once, in ascending order.
void CheckOrder(const XmlElement& element) {
    int child = 0;
    int text = 0;
    int clear = 0;
    for (int i = element.AttributeCount(); i < element.ContentCount(); ++i) {
        const XmlContents item = element.EnumContents(i);
        switch (item.type) {
        case XmlContentType::Child:
            Require(item.child.IsSameAs(element.GetChildAt(child++)));
            Require(item.child.GetParent().IsSameAs(element));
            break;
        case XmlContentType::Text:
            Require(item.text == element.GetText(text++));
            break;
        case XmlContentType::Clear:
            Require(item.clear == &element.GetClear(clear++));
            break;
        default:
            Require(false);
        }
    }
    Require(child == element.ChildCount() && text == element.TextCount() && clear == element.ClearCount());
    Require(element.EnumContents(element.ContentCount()).type == XmlContentType::None);
}

void CheckTree(const XmlElement& root) {
    std::vector<XmlElement> pending{root};
    while (!pending.empty()) {
        const XmlElement element = pending.back();
        pending.pop_back();
        CheckOrder(element);
        for (int i = 0; i < element.ChildCount(); ++i) {
            pending.push_back(element.GetChildAt(i));
        }
    }
}

void FuzzParse(const uint8_t* data, size_t size) {
    const std::vector<char> exact(data, data + size);
    XmlParseResults results;
    const XmlElement root = XmlElement::ParseString(exact.data(), exact.size(), nullptr, &results);
    const int code = static_cast<int>(results.error);
    Require(code >= 0 && code <= 12);
    CheckTree(root);
    const std::string terminated(exact.begin(), exact.end());
    XmlElement::ParseString(terminated.c_str(), "a", nullptr);
    for (bool format : {false, true}) {
        const XmlString written = root.CreateString(format);
        const XmlElement again = XmlElement::ParseString(written.CStr());
        CheckTree(again);
    }
}

void FuzzEntities(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    XmlErrorCode error = XmlErrorCode::None;
    XmlElement::FromXmlString(text.data(), text.size(), &error);
    const std::string terminated = text.c_str();
    const XmlString escaped = XmlElement::ToXmlString(terminated.c_str());
    const XmlString decoded = XmlElement::FromXmlString(escaped.CStr(), &error);
    Require(error == XmlErrorCode::None && terminated == decoded.CStr());
}

class ByteReader {
public:
    ByteReader(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}

    bool AtEnd() const { return m_position >= m_size; }

    int Next() { return AtEnd() ? 0 : m_data[m_position++]; }

    // Position -1 to 6, so that inserts land at the end, inside and past the end.
    int Position() { return Next() % 8 - 1; }

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_position = 0;
};

void ApplyChange(std::vector<XmlElement>& pool, ByteReader& in) {
    const int operation = in.Next() % 16;
    const size_t targetIndex = static_cast<size_t>(in.Next()) % pool.size();
    XmlElement target = pool[targetIndex];  // a copy: the pool grows below
    const XmlElement other = pool[static_cast<size_t>(in.Next()) % pool.size()];
    const char names[][3] = {"a", "b", "Ab", "c"};
    const char* name = names[in.Next() % 4];
    switch (operation) {
    case 0:
        pool.push_back(target.AddChild(name, in.Next() % 4 == 0, in.Position()));
        break;
    case 1:
        target.AddChild(other, in.Position());
        break;
    case 2:
        target.AddText(name, in.Position());
        break;
    case 3:
        target.AddClear(name, nullptr, in.Next() % 2 ? "-->" : nullptr, in.Position());
        break;
    case 4:
        target.AddAttribute(name, in.Next() % 2 ? name : nullptr);
        break;
    case 5:
        target.DeleteText(in.Position());
        break;
    case 6:
        target.DeleteClear(target.GetText(in.Position()));
        break;
    case 7:
        target.DeleteAttribute(name);
        break;
    case 8:
        target.UpdateAttribute(name, in.Next() % 2 ? "n" : nullptr, in.Position());
        break;
    case 9:
        target.UpdateText(target.GetText(in.Position()), in.Position());
        break;
    case 10:
        target.UpdateClear(name, &target.GetClear(in.Position()));
        break;
    case 11:
        target.DeleteNodeContent();
        break;
    case 12:
        target.SetName(in.Next() % 4 == 0 ? nullptr : name);
        break;
    case 13:
        pool.push_back(target.GetChild(name, in.Position()));
        break;
    case 14:
        target = XmlElement::CreateTopElement(name);
        pool[targetIndex] = target;
        break;
    default:
        pool.push_back(target.GetParent());
        break;
    }
    CheckOrder(target);
}

void FuzzEditing(const uint8_t* data, size_t size) {
    std::vector<XmlElement> pool{XmlElement::ParseString("<r a='1'><x>t<!--c--><y/></x>u</r>")};
    ByteReader in(data, size);
    while (!in.AtEnd() && pool.size() < 200) {
        ApplyChange(pool, in);
    }
    for (const XmlElement& element : pool) {
        CheckTree(element);
        int steps = 0;
        for (XmlElement up = element; !up.IsEmpty(); up = up.GetParent()) {
            Require(++steps < 1000);  // no element may become its own ancestor
        }
        element.CreateString(true);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    const int control = data[0];
    XmlElement::SetGlobalOptions(static_cast<XmlCharEncoding>(1 + control % 3), true, (control & 4) != 0);
    switch ((control >> 3) % 3) {
    case 0:
        FuzzParse(data + 1, size - 1);
        break;
    case 1:
        FuzzEntities(data + 1, size - 1);
        break;
    default:
        FuzzEditing(data + 1, size - 1);
        break;
    }
    return 0;
}

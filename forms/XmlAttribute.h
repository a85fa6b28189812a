#pragma once
// One attribute of an XML element: a name and a value, the value null when the attribute
// was written without one.

#include "forms/XmlString.h"

class XmlAttribute {
public:
    XmlAttribute() = default;
    XmlAttribute(XmlString name, XmlString value);

    // Null only for the empty attribute that lookups past the end return.
    const char* Name() const { return m_name.CStr(); }

    const char* Value() const { return m_value.CStr(); }

    void SetName(XmlString name) { m_name = std::move(name); }

    void SetValue(XmlString value) { m_value = std::move(value); }

private:
    XmlString m_name;
    XmlString m_value;
};

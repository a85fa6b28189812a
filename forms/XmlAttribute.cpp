#include "forms/XmlAttribute.h"

XmlAttribute::XmlAttribute(XmlString name, XmlString value)
    : m_name(std::move(name)), m_value(std::move(value)) {}

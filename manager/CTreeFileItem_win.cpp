#include "manager/CTreeFileItem.h"

namespace {

CString TextOf(LPCSTR text) {
    return text != nullptr ? CString(text) : CString();
}

LPSTR PointerOf(CString& text, LPCSTR original) {
    return original != nullptr ? const_cast<LPSTR>(text.GetString()) : nullptr;
}

}  // namespace

CTreeFileItem::CTreeFileItem(const CTreeFileItem& other)
    : m_path(other.m_path),
      m_displayName(other.m_displayName),
      m_kind(other.m_kind),
      m_shellTitle(other.m_shellTitle),
      m_file(other.m_file) {
    if (other.GetNetResource() != nullptr) {
        SetNetResource(*other.GetNetResource());
    }
}

void CTreeFileItem::SetNetResource(const NETRESOURCEA& resource) {
    auto copy = std::make_unique<NetResourceCopy>();
    copy->resource = resource;
    copy->localName = TextOf(resource.lpLocalName);
    copy->remoteName = TextOf(resource.lpRemoteName);
    copy->comment = TextOf(resource.lpComment);
    copy->provider = TextOf(resource.lpProvider);
    copy->resource.lpLocalName = PointerOf(copy->localName, resource.lpLocalName);
    copy->resource.lpRemoteName = PointerOf(copy->remoteName, resource.lpRemoteName);
    copy->resource.lpComment = PointerOf(copy->comment, resource.lpComment);
    copy->resource.lpProvider = PointerOf(copy->provider, resource.lpProvider);
    m_netResource = std::move(copy);
}

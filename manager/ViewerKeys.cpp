#include "manager/ViewerKeys.h"

namespace ViewerKeys {

namespace {

const char* const kListedKeys[] = {"de", "hu", "en"};

}  // namespace

bool IsListed(const CString& key) {
    for (const char* listed : kListedKeys) {
        if (key.CompareNoCase(listed) == 0) {
            return true;
        }
    }
    return false;
}

CDescriptionKeyList MakeList() {
    return CDescriptionKeyList(CDescriptionKeyList::kMapOrder, &IsListed);
}

}  // namespace ViewerKeys

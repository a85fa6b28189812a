#include "forms/CPropertyPageDHAcceptable.h"

IMPLEMENT_DYNAMIC(CPropertyPageDHAcceptable, CPropertyPage)

CPropertyPageDHAcceptable::CPropertyPageDHAcceptable(UINT templateId) : CPropertyPage(templateId) {}

int CPropertyPageDHAcceptable::FirstHook(int first, int second) {
    return 0;
}

int CPropertyPageDHAcceptable::SecondHook(int first, int second) {
    return 0;
}

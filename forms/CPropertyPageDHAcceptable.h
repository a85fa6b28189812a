// A property page base with two overridable hooks for derived pages; this base answers 0
// to both. The configurator builds its pages on the scrollable form page instead.
#pragma once

#include "classlib/win/CPropertyPage.h"

class CPropertyPageDHAcceptable : public CPropertyPage {
    DECLARE_DYNAMIC(CPropertyPageDHAcceptable)

public:
    explicit CPropertyPageDHAcceptable(UINT templateId);

    virtual int FirstHook(int first, int second);
    virtual int SecondHook(int first, int second);
};

// The texts of the shell's small question dialogs: the caption "<program>: <text>" and the
// buttons' texts, all from the string table.
#pragma once

#include "classlib/win/CWnd.h"

#include <initializer_list>

class ITextResources;

struct ButtonText {
    CWnd& button;
    UINT textId;
};

// Without a resource manager the caption has the program's name alone and the buttons keep
// the texts of their template.
void SetTitledDialogTexts(CWnd& dialog,
                          const ITextResources* resources,
                          UINT captionId,
                          std::initializer_list<ButtonText> buttons);

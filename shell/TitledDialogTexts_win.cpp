#include "shell/TitledDialogTexts.h"

#include "link/ITextResources.h"
#include "shell/ZarvoNames.h"

void SetTitledDialogTexts(CWnd& dialog,
                          const ITextResources* resources,
                          UINT captionId,
                          std::initializer_list<ButtonText> buttons) {
    dialog.SetWindowText(ZarvoNames::TitledCaption(LoadText(resources, captionId)));
    if (resources == nullptr) {
        return;
    }
    for (const ButtonText& button : buttons) {
        button.button.SetWindowText(LoadText(resources, button.textId));
    }
}

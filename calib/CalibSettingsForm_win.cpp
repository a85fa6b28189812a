#include "calib/CalibSettingsForm.h"

#include "calib/CalibText.h"
#include "classlib/win/AfxMessageBox.h"
#include "classlib/win/CWnd.h"
#include "link/CLocaleNumberFormat.h"
#include "link/CLogger.h"
#include "link/ITextResources.h"

namespace {

constexpr int kLogRefusedEntry = 2000;

CString ItemText(CWnd& dialog, int id) {
    CString text;
    CWnd* item = dialog.GetDlgItem(id);
    if (item != nullptr) {
        item->GetWindowText(text);
    }
    return text;
}

}  // namespace

void ShowCalibSettingsFields(CWnd& dialog, const std::vector<CalibSettingsField>& fields) {
    for (const CalibSettingsField& field : fields) {
        CWnd* item = dialog.GetDlgItem(field.controlId);
        if (item != nullptr) {
            item->SetWindowText(field.Format());
        }
    }
}

bool StoreCalibSettingsFields(CWnd& dialog,
                              const std::vector<CalibSettingsField>& fields,
                              ITextResources* resources) {
    const DWORD language = resources != nullptr ? resources->GetLanguageId() : 0;
    const CLocaleNumberFormat format = CLocaleNumberFormat::FromLocale(language);
    for (const CalibSettingsField& field : fields) {
        const CString text = ItemText(dialog, field.controlId);
        if (field.Store(format, text)) {
            continue;
        }
        const CString message = LoadCalibText(resources, field.messageId);
        CLogger::Instance().Log(kLogRefusedEntry, "Calibration settings: %s", static_cast<LPCSTR>(message));
        AfxMessageBox(message, MB_OK);
        return false;
    }
    return true;
}

#include "manager/LoadFailureText.h"

CString LoadFailureText(const CString& path, int cause) {
    if (cause == 0) {
        return "Ung\xFC"
               "ltiges Dateiformat.";
    }
    CString text;
    text.Format("Fehler beim lesen der Datei:\n%s\nFehler Kode: %d.", path.GetString(), cause);
    return text;
}

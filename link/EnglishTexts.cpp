// The data handler's messages in English, as the string table holds them.
#include "link/EnglishTexts.h"

namespace {

struct EnglishText {
    UINT id;
    LPCSTR text;
};

const EnglishText kTexts[] = {
    {IDS_NEW_UNIT_CONNECTED,
     "It seems a new MCU has been connected.\nDo you want to load its configuration to overwrite edited data "
     "or store actual configuration in MCU?"},
    {IDS_SAVE_BEFORE_OVERWRITE, "OK. Do you want to save this configuration before overwriting from MCU?"},
    {IDS_ERROR_OPENING_FILE, "Error opening file: %s.\nError code: %d."},
    {IDS_ERROR_WRITING_FILE, "Error writing file: %s.\nError code: %d."},
    {IDS_ERROR_READING_FILE, "Error reading file: %s.\nError code: %d."},
    {IDS_INVALID_FILE_FORMAT, "Invalid file format."},
    {IDS_NOTHING_TO_SAVE, "Nothing to save. Please connect an MCU or load a configuration."},
    {IDS_OLDER_FORMAT_CONVERTED, "Older file format converted."},
    {IDS_UPDATE_NOT_FOR_UNIT, "This update is not designed for this MCU. (bsw: %d.%02d <-> sw: %d.%02d)"},
    {IDS_PROTOCOL_INCOMPATIBLE,
     "You can not use this program after update of MCU because of appearing communication "
     "incompatibility.\nPlease install a newer version. (pr: %d.%02d <-> %d.%02d)"},
    {IDS_BOOTLOADER_NOT_FOR_UNIT, "This update is not designed for this MCU. (bl: %d.%02d <-> %d.%02d)"},
    {IDS_UNTITLED, "Untitled"},
    {IDS_SAVED_FILE_DIFFERS,
     "The latest saved file for the connected MCU differs from its actual data.\n(\"%s\")"},
    {IDS_EDITS_NOT_SENT, "Changes waiting for the MCU have not been sent to it."},
};

}  // namespace

LPCSTR GetEnglishText(UINT id) {
    for (const EnglishText& entry : kTexts) {
        if (entry.id == id) {
            return entry.text;
        }
    }
    return nullptr;
}

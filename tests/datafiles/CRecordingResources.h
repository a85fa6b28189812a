// The resource manager for tests: English texts, and a record of the firmware descriptions
// handed to the catalogue.
#pragma once

#include "link/EnglishTexts.h"
#include "link/IResourceManager.h"

#include <map>
#include <string>
#include <vector>

struct AddedDescriptions {
    int major;
    int minor;
    int build;
    int branch;
    std::map<std::string, std::string> texts;
};

class CRecordingResources : public IResourceManager {
public:
    CString GetString(UINT id) override {
        const LPCSTR text = GetEnglishText(id);
        return text != nullptr ? text : "";
    }

    void AddFirmwareDescriptions(int major,
                                 int minor,
                                 int build,
                                 int branch,
                                 const CMapStringToString& descriptions) override {
        AddedDescriptions added{major, minor, build, branch, {}};
        for (POSITION position = descriptions.GetStartPosition(); position != nullptr;) {
            CString key;
            CString text;
            descriptions.GetNextAssoc(position, key, text);
            added.texts[static_cast<LPCSTR>(key)] = static_cast<LPCSTR>(text);
        }
        catalogue.push_back(added);
    }

    std::vector<AddedDescriptions> catalogue;
};

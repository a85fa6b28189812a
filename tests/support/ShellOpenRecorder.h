// While it lives, the shell's "open" verb for web addresses (the http and https protocols)
// starts the open recorder of the build tree instead of a browser; the addresses it was
// given can be read back. The previous commands are put back at the end.
#pragma once

#include "tests/support/TestTrees.h"
#include "tests/support/WinePath.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

class CShellOpenRecorder {
public:
    CShellOpenRecorder() {
        char folder[MAX_PATH] = {};
        GetTempPathA(sizeof folder, folder);
        m_record = std::string(folder) + "zarvo_opened_addresses.txt";
        DeleteFileA(m_record.c_str());
        const std::string recorder = WinePath(BuildTree()) + "\\open_recorder.exe";
        const std::string command = "\"" + recorder + "\" \"" + m_record + "\" \"%1\"";
        for (const char* key : kCommandKeys) {
            m_saved.push_back(Read(key));
            Write(key, command);
        }
    }

    ~CShellOpenRecorder() {
        for (size_t i = 0; i < m_saved.size(); i++) {
            if (m_saved[i].present) {
                Write(kCommandKeys[i], m_saved[i].value);
            } else {
                RegDeleteKeyValueA(HKEY_CLASSES_ROOT, kCommandKeys[i], nullptr);
            }
        }
        DeleteFileA(m_record.c_str());
    }

    CShellOpenRecorder(const CShellOpenRecorder&) = delete;
    CShellOpenRecorder& operator=(const CShellOpenRecorder&) = delete;

    // The addresses opened so far, waiting up to timeoutMs for the first.
    std::vector<std::string> WaitForAddresses(DWORD timeoutMs) const {
        std::vector<std::string> addresses;
        for (DWORD waited = 0; addresses.empty() && waited < timeoutMs; waited += 200) {
            Sleep(200);
            std::ifstream record(m_record);
            for (std::string line; std::getline(record, line);) {
                addresses.push_back(line);
            }
        }
        return addresses;
    }

private:
    struct Saved {
        bool present;
        std::string value;
    };

    static constexpr const char* kCommandKeys[] = {"http\\shell\\open\\command",
                                                   "https\\shell\\open\\command"};

    static Saved Read(const char* key) {
        char value[1024] = {};
        DWORD size = sizeof value;
        const bool present = RegGetValueA(HKEY_CLASSES_ROOT, key, nullptr, RRF_RT_REG_SZ, nullptr, value,
                                          &size) == ERROR_SUCCESS;
        return {present, value};
    }

    static void Write(const char* key, const std::string& value) {
        HKEY handle = nullptr;
        if (RegCreateKeyExA(HKEY_CLASSES_ROOT, key, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &handle,
                            nullptr) != ERROR_SUCCESS) {
            return;
        }
        RegSetValueExA(handle, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>(value.size() + 1));
        RegCloseKey(handle);
    }

    std::string m_record;
    std::vector<Saved> m_saved;
};

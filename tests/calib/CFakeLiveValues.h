// The live elements of a test: bytes per element index, set by the test before each step.
#pragma once

#include "calib/ILiveValues.h"
#include "calib/LiveElementReads.h"
#include "link/ElementTable.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <vector>

class CFakeLiveValues : public ILiveValues {
public:
    void ReadElement(int index, BYTE* destination, int size) override {
        std::memset(destination, 0, static_cast<std::size_t>(size));
        const auto it = m_elements.find(index);
        if (it == m_elements.end()) {
            return;
        }
        const std::size_t n = std::min(it->second.size(), static_cast<std::size_t>(size));
        std::memcpy(destination, it->second.data(), n);
    }

    int IsReadSupported(int index) override { return index == kElementObdBlock && m_obdLongForm ? 1 : 0; }

    void SetBytes(int index, std::vector<BYTE> bytes) { m_elements[index] = std::move(bytes); }

    void SetByte(int index, int value) { m_elements[index] = {static_cast<BYTE>(value)}; }

    void SetWord(int index, int value) {
        m_elements[index] = {static_cast<BYTE>(value & 0xFF), static_cast<BYTE>((value >> 8) & 0xFF)};
    }

    // The same injection time on every cylinder.
    void SetInjectionUs(int us) { SetInjectionUs(std::vector<int>(kInjectionCylinders, us)); }

    void SetInjectionUs(const std::vector<int>& us) {
        std::vector<BYTE> bytes;
        for (int v : us) {
            bytes.push_back(static_cast<BYTE>(v & 0xFF));
            bytes.push_back(static_cast<BYTE>((v >> 8) & 0xFF));
        }
        m_elements[kElementInjectionTimes] = bytes;
    }

    void SetFuel(int state) { SetBytes(DATA_STATUS_ENGINE_STATUS, {static_cast<BYTE>(state), 0, 0, 255, 0}); }

    void SetObdLongForm(bool longForm) { m_obdLongForm = longForm; }

private:
    std::map<int, std::vector<BYTE>> m_elements;
    bool m_obdLongForm = false;
};

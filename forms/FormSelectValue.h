// The value of a select field: one of its item values, each item with a label text id.
#pragma once

#include <cstdint>
#include <vector>

struct FormSelectValue {
    uint32_t reference = 0;
    uint32_t current = 0;
    std::vector<uint32_t> itemTextIds;
    std::vector<uint32_t> itemValues;  // as many as itemTextIds
};

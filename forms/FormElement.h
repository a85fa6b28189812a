// One element of an XML form: an id shared with the patch record it stands for, a label,
// its fields, and whether the user marked it.
#pragma once

#include "forms/FormField.h"

#include <cstdint>
#include <memory>
#include <vector>

struct FormElement {
    int32_t id = 0;
    uint32_t labelTextId = 0;  // 0: none
    int marked = 0;
    std::vector<std::unique_ptr<FormField>> fields;
    int separator = 0;
};

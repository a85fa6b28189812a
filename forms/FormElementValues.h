// Comparing an element's current field values with the FORM's defaults, and putting them
// back; the change marks decided from that, and the value changes of a click or a choice.
// What the form and the page built on it decide change marks by.
#pragma once

#include "forms/FormElement.h"

#include <cstdint>

// True when every field's current value equals its reference value: texts exactly,
// numbers as doubles, checks and selects as integers, grids cell by cell.
bool IsElementUnchanged(const FormElement& element);

// Sets every field's current value back to its reference value; the number of fields.
int ResetElement(FormElement& element);

// After a user change of a field: the element is marked exactly when it now differs from its
// reference values. Returns the new flag.
int MarkAfterChange(FormElement& element);

// A click on the element's mark button: an unchanged element's flag flips, a changed one
// stays marked (its difference has to reach the page). Returns the new flag.
int ToggleMark(FormElement& element);

// A click on a check field: the on value becomes the off value, anything else the on value.
void ToggleCheck(FormCheckValue& check);

// The item value chosen in a select field; true when it differs from the current value,
// which it then replaces.
bool ChooseSelectValue(FormSelectValue& select, uint32_t value);

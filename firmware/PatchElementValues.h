// The editor values of a form element as the conversion table reads and writes them: every
// field in order, a text edit as its character codes and a 0, a number edit as its number,
// a check or select as its integer, a grid as its cells row by row.
#pragma once

#include "classlib/core/CArray.h"
#include "forms/FormElement.h"

// Empties `values` and appends the element's current values.
void CollectElementValues(const FormElement& element, CArray<double, double>& values);

// Sets the element's current values from `values` in the same order. A text takes codes up
// to a 0 or the end of the values; values missing at the end count as 0.
void FillElementValues(FormElement& element, const CArray<double, double>& values);

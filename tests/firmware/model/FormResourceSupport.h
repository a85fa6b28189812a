// Helpers of the tests of the patch editor's form: the shipped FORM text and the texts of its
// string table, read from the source tree.
#pragma once

#include <cstdint>
#include <map>
#include <string>

// The bytes of res/form2022.xml.
std::string ShippedFormText();

// The string table of res/form.rc: id -> text, as written between the quotes.
std::map<uint32_t, std::string> ShippedFormStrings();

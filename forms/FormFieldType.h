// The kind of a field of an XML form; the numbers are those of the FORM reader.
#pragma once

enum FormFieldType {
    FormFieldEdit = 1,
    FormFieldCheck = 2,
    FormFieldSelect = 3,
    FormFieldGrid = 4
};

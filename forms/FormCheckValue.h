// The value of a check field: one of its on and off values.
#pragma once

struct FormCheckValue {
    int reference = 0;
    int current = 0;
    int on = 1;
    int off = 0;
};

// The text of a caught class-library exception, for the boundaries that catch
// everything (window procedure, hooks, threads, the program's start) and report it.
#pragma once

#include "classlib/core/CException.h"

#include <string>

// Takes the exception over, releases it and returns its text, or
// "No error message is available." when it has none.
std::string DescribeLibraryException(CException* caught);

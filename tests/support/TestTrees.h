// Where the tests find their files: the source tree and the build tree they were built
// from, as the build gives them, so that a test runs from any folder.
#pragma once

#include <string>

// The source tree's folder, without a trailing slash.
const char* SourceTree();
// The build tree's folder, without a trailing slash.
const char* BuildTree();
// The path of a file given relative to the source tree.
std::string SourceTreePath(const std::string& relativePath);

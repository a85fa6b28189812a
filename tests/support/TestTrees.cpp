#include "tests/support/TestTrees.h"

const char* SourceTree() {
    return ZARVO_TEST_SOURCE_TREE;
}

const char* BuildTree() {
    return ZARVO_TEST_BUILD_TREE;
}

std::string SourceTreePath(const std::string& relativePath) {
    return std::string(SourceTree()) + "/" + relativePath;
}

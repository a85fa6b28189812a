// The scans of the expression language that stay out of line.
#include "expr/TextScan.h"

namespace ExprEval {

std::size_t TextScan::CommentEnd(std::string_view text, std::size_t start) {
    const std::size_t lineEnd = text.find_first_of("\n\r", start);
    return lineEnd == std::string_view::npos ? text.size() : lineEnd;
}

}  // namespace ExprEval

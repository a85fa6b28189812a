// Compiled expressions and their abort test.
#include "expr/ExpressionObject.h"

#include "expr/AbortException.h"
#include "expr/EmptyExpressionException.h"
#include "expr/Node.h"
#include "expr/NodeArenaScope.h"
#include "expr/Parser.h"

#include <algorithm>
#include <cstddef>

namespace ExprEval {

ExpressionObject::ExpressionObject() = default;

ExpressionObject::~ExpressionObject() {
    Clear();
}

void ExpressionObject::Parse(const std::string& text) {
    Clear();
    // A conversion program takes about a dozen bytes of nodes per character; the cap
    // keeps a long text with few nodes from taking much more memory than its tree.
    constexpr std::size_t kNodeBytesPerCharacter = 16;
    constexpr std::size_t kMaxReserve = 1 << 20;
    m_arena.Reserve(std::min(text.size(), kMaxReserve / kNodeBytesPerCharacter) * kNodeBytesPerCharacter);
    const NodeArenaScope scope(m_arena);
    Parser parser(this);
    m_tree = parser.Parse(text);
    m_arenaOnlyTree = parser.MadeArenaOnlyNodes();
}

// Deleting a tree of several hundred nodes one by one costs about as much as building
// it; a tree that holds only arena memory goes with the arena instead.
void ExpressionObject::Clear() {
    if (m_arenaOnlyTree) {
        static_cast<void>(m_tree.release());
    } else {
        m_tree.reset();
    }
    m_arenaOnlyTree = false;
    m_arena.Release();
}

double ExpressionObject::Evaluate() {
    if (!m_tree) {
        throw EmptyExpressionException();
    }
    return m_tree->Evaluate();
}

void ExpressionObject::AskAbort(bool force) {
    if (!force) {
        m_abortCountdown = m_abortInterval;
    }
    if (DoTestAbort()) {
        throw AbortException();
    }
}

void ExpressionObject::SetAbortInterval(std::int32_t interval) {
    m_abortInterval = interval;
    if (m_abortCountdown > interval) {
        m_abortCountdown = interval;
    }
}

bool ExpressionObject::DoTestAbort() {
    return false;
}

}  // namespace ExprEval

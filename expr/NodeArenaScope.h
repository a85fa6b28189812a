// Makes an arena the one that new nodes come from on this thread for the lifetime of
// the scope, and restores the one before (scopes nest).
#pragma once

#include "expr/NodeArena.h"

namespace ExprEval {

class NodeArenaScope {
public:
    explicit NodeArenaScope(NodeArena& arena) : m_previous(NodeArena::Current()) {
        NodeArena::SetCurrent(&arena);
    }

    ~NodeArenaScope() { NodeArena::SetCurrent(m_previous); }

    NodeArenaScope(const NodeArenaScope&) = delete;
    NodeArenaScope& operator=(const NodeArenaScope&) = delete;

private:
    NodeArena* m_previous;
};

}  // namespace ExprEval

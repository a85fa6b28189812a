// Base of the function-call nodes: parses the arguments between the parentheses,
// value arguments as expressions and "&name" as references to variables, and checks
// their counts. Each function derives from it and supplies DoEvaluate.
#pragma once

#include "expr/Node.h"
#include "expr/NodeList.h"

#include <cstddef>
#include <memory>
#include <string>

namespace ExprEval {

class ExprToken;
class FunctionCreator;

class FunctionNode : public Node {
public:
    static constexpr std::int32_t kNoLimit = -1;

    explicit FunctionNode(ExpressionObject* expression) : Node(expression) {}
    ~FunctionNode() override;

    // The factory that made this node (not owned), asked for the name in error reports.
    void SetFactory(const FunctionCreator* factory) { m_factory = factory; }

    // A maximum of kNoLimit means no limit.
    void SetArgumentCount(std::int32_t minValues,
                          std::int32_t maxValues,
                          std::int32_t minReferences,
                          std::int32_t maxReferences) {
        m_minValues = minValues;
        m_maxValues = maxValues;
        m_minReferences = minReferences;
        m_maxReferences = maxReferences;
    }
    std::string GetName() const;

    // start and end are the indexes of the "(" and of its matching ")".
    void Parse(Parser& parser, std::int32_t start, std::int32_t end, std::int32_t op) override;

    std::size_t GetArgumentCount() const { return m_arguments.Size(); }

    double EvaluateArgument(std::size_t index) { return m_arguments[index]->Evaluate(); }

    // The referenced variable's value, to read or write.
    double& GetReference(std::size_t index) { return *m_references[index]; }

private:
    // Room reserved for the arguments of a function without a maximum.
    static constexpr std::int32_t kTypicalUnlimitedCount = 8;

    static bool Exceeds(std::size_t count, std::int32_t maximum) {
        return maximum != kNoLimit && count > static_cast<std::size_t>(maximum);
    }

    static bool FallsShort(std::size_t count, std::int32_t minimum) {
        return minimum > 0 && count < static_cast<std::size_t>(minimum);
    }

    bool AllowsCounts(std::size_t values, std::size_t references) const {
        return !(FallsShort(values, m_minValues) || Exceeds(values, m_maxValues) ||
                 FallsShort(references, m_minReferences) || Exceeds(references, m_maxReferences));
    }

    void ReserveArguments();
    void AddArgument(Parser& parser, std::int32_t first, std::int32_t closing);
    void AddReference(Parser& parser, std::int32_t first, std::int32_t closing);
    void CheckCounts(const ExprToken& open, const ExprToken& close) const;

    const FunctionCreator* m_factory = nullptr;  // not owned
    std::int32_t m_minValues = 0;
    std::int32_t m_maxValues = 0;
    std::int32_t m_minReferences = 0;
    std::int32_t m_maxReferences = 0;
    NodeList<std::unique_ptr<Node>> m_arguments;
    NodeList<double*> m_references;  // into the value list, not owned
};

}  // namespace ExprEval

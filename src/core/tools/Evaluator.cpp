#include "core/tools/Evaluator.h"

#include "core/support/DecodeEscape.h"
#include "core/support/NumberScan.h"
#include "core/support/TextConv.h"

#include <type_traits>

namespace dualvex {
namespace {

// Deeper nesting of parentheses or unary operators than any hand-typed expression is
// refused, so hostile input cannot exhaust the stack.
constexpr int kMaxNesting = 500;

enum class Op {
    None,
    LogicalAnd,
    LogicalOr,
    Equal,
    NotEqual,
    Less,
    LessEqual,
    Greater,
    GreaterEqual,
    And,
    Or,
    Xor,
    ShiftLeft,
    ShiftRight,
    Add,
    Subtract,
    Multiply,
    Divide,
    Remainder
};

struct Operator {
    Op op = Op::None;
    int level = -1;
    int length = 0;
};

Operator MatchOperator(const char* t)
{
    static constexpr struct {
        const char* text;
        Op op;
        int level;
    } kOperators[] = {
        {"&&", Op::LogicalAnd, 0}, {"||", Op::LogicalOr, 0},  {"==", Op::Equal, 1},
        {"!=", Op::NotEqual, 1},   {"<=", Op::LessEqual, 1},  {">=", Op::GreaterEqual, 1},
        {"<<", Op::ShiftLeft, 3},  {">>", Op::ShiftRight, 3}, {"<", Op::Less, 1},
        {">", Op::Greater, 1},     {"&", Op::And, 2},         {"|", Op::Or, 2},
        {"^", Op::Xor, 2},         {"+", Op::Add, 4},         {"-", Op::Subtract, 4},
        {"*", Op::Multiply, 5},    {"/", Op::Divide, 5},      {"%", Op::Remainder, 5},
    };
    for (const auto& o : kOperators) {
        if (t[0] == o.text[0] && (o.text[1] == '\0' || t[1] == o.text[1]))
            return {o.op, o.level, o.text[1] == '\0' ? 1 : 2};
    }
    return {};
}

template <typename T> struct Operand {
    T value = 0;
    bool present = false; // false when not even the first primary could be read
};

template <typename T> class ExpressionParser {
  public:
    using U = std::make_unsigned_t<T>;
    using Hook = int (*)(const char*, T*, void*);

    ExpressionParser(const char* text, std::uint32_t* status, Hook hook, void* context)
        : m_text(text), m_status(status), m_hook(hook), m_context(context)
    {
    }

    T Run(int level) { return Level(level).value; }
    int Position() const { return m_pos; }

  private:
    static constexpr U kShiftMask = sizeof(T) * 8 - 1;

    char Current() const { return m_text[m_pos]; }
    bool Failed() const { return *m_status == 0; }
    bool Skipping() const { return *m_status == kEvalSkipping; }
    void Fail() { *m_status = 0; }
    void SkipBlanks()
    {
        while (Current() == ' ' || Current() == '\t') ++m_pos;
    }

    Operand<T> Level(int level);
    Operand<T> LevelAfterNesting(int level);
    template <typename Step> Operand<T> Nested(Step step);
    bool EndsLevel(char c, int level);
    Operand<T> Conditional(T condition);
    Operand<T> Primary();
    Operand<T> PrimaryAfterNesting();
    Operand<T> CharLiteral();
    Operand<T> Number();
    bool Apply(Op op, T* acc, T rhs);
    static T Compare(Op op, T a, T b);

    const char* m_text;
    int m_pos = 0;
    std::uint32_t* m_status;
    Hook m_hook;
    void* m_context;
    int m_enclosure = kEvalWhole; // the innermost of the levels -1, -2 and -3
    int m_nesting = 0;
};

// Every recursion passes through here: deeper nesting than kMaxNesting is an error.
template <typename T> template <typename Step> Operand<T> ExpressionParser<T>::Nested(Step step)
{
    if (m_nesting >= kMaxNesting) {
        Fail();
        return {};
    }
    ++m_nesting;
    const Operand<T> result = step();
    --m_nesting;
    return result;
}

template <typename T> Operand<T> ExpressionParser<T>::Level(int level)
{
    return Nested([&] { return LevelAfterNesting(level); });
}

template <typename T> Operand<T> ExpressionParser<T>::LevelAfterNesting(int level)
{
    const int savedEnclosure = m_enclosure;
    if (level < 0) m_enclosure = level;
    Operand<T> acc = Primary();
    while (!Failed()) {
        SkipBlanks();
        const char c = Current();
        if (c == '?') {
            acc = Conditional(acc.value);
            continue;
        }
        if (EndsLevel(c, level)) break;
        const Operator o = MatchOperator(m_text + m_pos);
        if (o.op == Op::None) {
            Fail();
            break;
        }
        if (level > o.level) break;
        m_pos += o.length;
        // The right operand binds tighter than the operator, whatever the level we are
        // at, so 1<<2+3*4 is 1<<14 as in C.
        const Operand<T> rhs = Level(o.level + 1);
        if (rhs.present && Apply(o.op, &acc.value, rhs.value)) acc.present = true;
    }
    m_enclosure = savedEnclosure;
    return acc;
}

// The end of the text, ")" and ":" end a level; a ")" or ":" that does not belong to
// the innermost enclosure is an error.
template <typename T> bool ExpressionParser<T>::EndsLevel(char c, int level)
{
    if (c == '\0') return true;
    if (c == ')') {
        if (level < kEvalParenthesis) Fail();
        return true;
    }
    if (c == ':') {
        if (level == kEvalParenthesis || level == kEvalWhole) Fail();
        return true;
    }
    return false;
}

// "?" takes the operand directly before it as the condition. The else part ends where
// the enclosing expression ends, so a conditional inside parentheses or inside another
// conditional's then part closes properly.
template <typename T> Operand<T> ExpressionParser<T>::Conditional(T condition)
{
    ++m_pos;
    const bool take = condition != 0;
    std::uint32_t* const cell = m_status;
    std::uint32_t skipThen = kEvalSkipping;
    m_status = take ? cell : &skipThen;
    const Operand<T> thenPart = Level(kEvalThenPart);
    m_status = cell;
    if (Failed()) return thenPart;
    if (Current() != ':') {
        Fail();
        return take ? thenPart : Operand<T>{condition, true};
    }
    ++m_pos;
    std::uint32_t skipElse = kEvalSkipping;
    m_status = take ? &skipElse : cell;
    const Operand<T> elsePart = Level(m_enclosure);
    m_status = cell;
    return take ? thenPart : elsePart;
}

template <typename T> Operand<T> ExpressionParser<T>::Primary()
{
    return Nested([&] { return PrimaryAfterNesting(); });
}

template <typename T> Operand<T> ExpressionParser<T>::PrimaryAfterNesting()
{
    SkipBlanks();
    const char c = Current();
    if (c == '-' || c == '+' || c == '~' || c == '!') {
        ++m_pos;
        Operand<T> operand = Primary();
        if (c == '-') operand.value = static_cast<T>(U(0) - static_cast<U>(operand.value));
        if (c == '~') operand.value = static_cast<T>(~operand.value);
        if (c == '!') operand.value = operand.value == 0 ? 1 : 0;
        return operand;
    }
    if (c == '(') {
        ++m_pos;
        const Operand<T> inner = Level(kEvalParenthesis);
        if (Failed()) return inner;
        if (Current() != ')')
            Fail();
        else
            ++m_pos;
        return inner;
    }
    if (c == '\'') return CharLiteral();
    if (m_hook != nullptr && !(c >= '0' && c <= '9')) {
        T value = 0;
        const int used = m_hook(m_text + m_pos, &value, m_context);
        if (used > 0) {
            m_pos += used;
            return {value, true};
        }
    }
    return Number();
}

template <typename T> Operand<T> ExpressionParser<T>::CharLiteral()
{
    ++m_pos;
    int used = 0;
    const int code = DecodeEscape(m_text + m_pos, &used);
    if (used == 0) {
        Fail();
        return {};
    }
    m_pos += used;
    if (Current() != '\'')
        Fail();
    else
        ++m_pos;
    return {static_cast<T>(code), true};
}

template <typename T> Operand<T> ExpressionParser<T>::Number()
{
    const NumberScan scan =
        ScanNumber(m_text + m_pos, kParseRadixEvaluator | kParseNoLeadingBlanks | kParseNoMinus);
    if (!scan.hasDigits) {
        Fail();
        return {};
    }
    m_pos += scan.end;
    return {static_cast<T>(static_cast<U>(scan.value)), true};
}

// Returns false when the operation could not be done (division by zero).
template <typename T> bool ExpressionParser<T>::Apply(Op op, T* acc, T rhs)
{
    const U a = static_cast<U>(*acc);
    const U b = static_cast<U>(rhs);
    switch (op) {
    case Op::Add: *acc = static_cast<T>(a + b); return true;
    case Op::Subtract: *acc = static_cast<T>(a - b); return true;
    case Op::Multiply: *acc = static_cast<T>(a * b); return true;
    case Op::ShiftLeft: *acc = static_cast<T>(a << (b & kShiftMask)); return true;
    case Op::ShiftRight: *acc = static_cast<T>(*acc >> (b & kShiftMask)); return true;
    case Op::And: *acc = static_cast<T>(a & b); return true;
    case Op::Or: *acc = static_cast<T>(a | b); return true;
    case Op::Xor: *acc = static_cast<T>(a ^ b); return true;
    case Op::Divide:
    case Op::Remainder: break;
    default: *acc = Compare(op, *acc, rhs); return true;
    }
    if (rhs == 0) {
        if (!Skipping()) {
            Fail();
            return false;
        }
        rhs = 1;
    }
    // The most negative value divided by -1 overflows: it wraps to itself, remainder 0.
    if (rhs == -1)
        *acc = op == Op::Divide ? static_cast<T>(U(0) - a) : 0;
    else
        *acc = op == Op::Divide ? *acc / rhs : *acc % rhs;
    return true;
}

template <typename T> T ExpressionParser<T>::Compare(Op op, T a, T b)
{
    switch (op) {
    case Op::LogicalAnd: return a != 0 && b != 0;
    case Op::LogicalOr: return a != 0 || b != 0;
    case Op::Equal: return a == b;
    case Op::NotEqual: return a != b;
    case Op::Less: return a < b;
    case Op::LessEqual: return a <= b;
    case Op::Greater: return a > b;
    default: return a >= b;
    }
}

template <typename T>
int EvaluateWith(const char* text, T* value, std::uint32_t* status, int level,
                 int (*hook)(const char*, T*, void*), void* context)
{
    if (*status == 0) *status = 1;
    if (text == nullptr) {
        *value = 0;
        *status = 0;
        return 0;
    }
    if (level < kEvalThenPart || level > 5) level = kEvalWhole;
    ExpressionParser<T> parser(text, status, hook, context);
    *value = parser.Run(level);
    return parser.Position();
}

} // namespace

int Evaluate(const char* text, std::int32_t* value, std::uint32_t* status, int level, EvalHook32 hook,
             void* context)
{
    return EvaluateWith(text, value, status, level, hook, context);
}

int Evaluate(const char* text, std::int64_t* value, std::uint32_t* status, int level, EvalHook64 hook,
             void* context)
{
    return EvaluateWith(text, value, status, level, hook, context);
}

} // namespace dualvex

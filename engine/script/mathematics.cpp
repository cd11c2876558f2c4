// The sixteen operations. Arithmetic goes through unsigned 64-bit values so
// that overflow wraps around instead of being undefined.

#include "engine/script/mathematics.h"

#include "common/numbers.h"
#include "engine/script/script_error.h"

namespace pellion {

namespace {

int64_t integerOperand(std::u16string_view text)
{
    const auto value = parseInt64(text);
    if (!value)
        throw notAnInteger(std::u16string(text));
    return *value;
}

int64_t wrapped(uint64_t value)
{
    return static_cast<int64_t>(value);
}

int32_t low32(int64_t value)
{
    return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(value)));
}

ScriptError divisionByZero()
{
    return ScriptError(u"Division by zero");
}

}  // namespace

std::u16string computeMathematics(int64_t code, std::u16string_view operandA, std::u16string_view operandB,
                                  RandomState& random)
{
    if (code == 11) {
        if (operandA.empty())
            throw ScriptError(u"Mathematics: no character to take the code of");
        return formatInt(operandA[0]);
    }
    if (code < 0 || code > 15)
        throw ScriptError(u"Mathematics: unknown operation " + formatInt(code));
    const int64_t a = integerOperand(operandA);
    const bool takesB = code <= 9 || code == 13;
    const int64_t b = takesB ? integerOperand(operandB) : 0;
    const uint64_t ua = static_cast<uint64_t>(a);
    const uint64_t ub = static_cast<uint64_t>(b);
    int64_t result = 0;
    switch (code) {
    case 0: result = wrapped(ua + ub); break;
    case 1: result = wrapped(ua - ub); break;
    case 2: result = wrapped(ua * ub); break;
    case 3:
        if (b == 0)
            throw divisionByZero();
        result = b == -1 ? wrapped(0 - ua) : a / b;  // the one quotient that overflows wraps
        break;
    case 4:
        if (b == 0)
            throw divisionByZero();
        result = b == -1 ? 0 : a % b;
        break;
    case 5: result = a & b; break;
    case 6: result = a | b; break;
    case 7: result = a ^ b; break;
    // Shifting by 64 bits or more, or by a negative count, moves every bit out.
    case 8: result = b < 0 || b > 63 ? 0 : wrapped(ua << b); break;
    case 9: result = b < 0 || b > 63 ? 0 : wrapped(ua >> b); break;
    case 10: result = ~a; break;
    case 12: return std::u16string(1, static_cast<char16_t>(ua & 0xFFFF));
    case 13:
        random.multiplier = low32(a);
        random.increment = low32(b);
        result = wrapped(ua + ub);
        break;
    case 14:
        random.state = low32(a);
        result = random.state;
        break;
    case 15: {
        if (a == 0)
            throw divisionByZero();
        const uint32_t product = static_cast<uint32_t>(random.multiplier) * static_cast<uint32_t>(random.state)
                               + static_cast<uint32_t>(random.increment);
        const int32_t x = static_cast<int32_t>(product);
        random.state = x % 32767;
        result = a == -1 ? 0 : static_cast<int64_t>(x) % a;
        break;
    }
    }
    return formatInt(result);
}

}  // namespace pellion

// The arithmetic of the "Mathematics" statement: 64-bit integers with
// wrap-around, bit operations, character codes and the tiny pseudo-random
// generator whose state lives in RandomState (one per process, passed in).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace pellion {

struct RandomState {
    int32_t multiplier = 0;  // RandMultiplier
    int32_t increment = 0;   // RandIncrement
    int32_t state = 0;       // RandState
};

// The result text of operation code for the expanded operands. Throws
// ScriptError for an operand that is not an integer, a division or remainder
// by zero, code 11 with an empty operand and an unknown code.
std::u16string computeMathematics(int64_t code, std::u16string_view operandA, std::u16string_view operandB,
                                  RandomState& random);

}  // namespace pellion

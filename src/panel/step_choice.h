#pragma once
// The "Step" choice: the amount by which the arrows of the eight entry fields move their values.

#include <initializer_list>

namespace orx {

class NumericField;

// 0.001 times ten to the power of the option's index (0 "0.001" ... 3 "1"), in single precision.
float stepOfOption(int index);

// Makes the step of the option the step of every field.
void applyStep(int index, float& stepSize, std::initializer_list<NumericField*> fields);

} // namespace orx

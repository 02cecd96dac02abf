#include "panel/step_choice.h"

#include "ui/numeric_field.h"

#include <cmath>

namespace orx {

float stepOfOption(int index)
{
    return static_cast<float>(std::pow(10.0, index) * 0.001);
}

void applyStep(int index, float& stepSize, std::initializer_list<NumericField*> fields)
{
    stepSize = stepOfOption(index);
    for (NumericField* field : fields)
        field->setStep(stepSize);
}

} // namespace orx

#include "base/model_limits.h"

namespace orx {

int modelIndexOf(const QString& name)
{
    for (int i = 0; i < kModelCount; ++i) {
        if (kModelNames[static_cast<size_t>(i)] == name)
            return i;
    }
    return -1;
}

int modelIndexOfAnyCase(const QString& name)
{
    return modelIndexOf(name.toUpper());
}

int heldModelIndex(int modelIndex)
{
    return qBound(0, modelIndex, kModelCount - 1);
}

ModelLimits limitsOfModel(int modelIndex)
{
    const auto m = static_cast<size_t>(heldModelIndex(modelIndex));
    return {kVoltMaxLow[m], kVoltMaxHigh[m], kCurrMaxLow[m], kCurrMaxHigh[m], kOvpMax[m], kOcpMax[m]};
}

} // namespace orx

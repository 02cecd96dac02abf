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

} // namespace orx

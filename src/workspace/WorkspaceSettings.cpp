#include "workspace/WorkspaceSettings.h"

#include <cmath>

namespace pixoral {

void WorkspaceSettings::fillWhirlAngles() {
    const long double pi = 3.14159265358979323846264338327950288L;
    for (int i = 0; i < 181; ++i) {
        const long double a = static_cast<long double>(i - 90) * pi / 180.0L;
        whirlAngles[i] = {std::sin(a), std::cos(a)};
    }
}

}  // namespace pixoral

#include "common/ProgramWaits.h"

#include <atomic>
#include <algorithm>
#include <cmath>

namespace {
std::atomic<double> scaleFactor{1.0};
}  // namespace

namespace ProgramWaits {

int scaled(int realMs)
{
    if (realMs <= 0)
        return realMs;
    const double scale = scaleFactor.load();
    if (scale == 1.0)
        return realMs;
    return std::max(1, int(std::lround(realMs * scale)));
}

void setWaitScale(double scale)
{
    scaleFactor = scale > 0 ? scale : 1.0;
}

double waitScale()
{
    return scaleFactor.load();
}

}  // namespace ProgramWaits

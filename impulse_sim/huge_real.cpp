#include "huge_real.h"

long double HugeReal = FullHugeReal.Value;
double HugeRealStored = FullHugeReal.Stored;

void UseHugeReal(const THugeReal& huge) {
    HugeReal = huge.Value;
    HugeRealStored = huge.Stored;
}

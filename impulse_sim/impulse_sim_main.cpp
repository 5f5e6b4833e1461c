#include "front_end.h"

int main() { return RunSimulator(FullStyle); }

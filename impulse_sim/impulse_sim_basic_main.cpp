// The simulator without mouse dragging and without visible contact points,
// on the core built with HugeReal 1e40.
#include "front_end.h"

int main() { return RunSimulator(BasicStyle); }

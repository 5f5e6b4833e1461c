// The simulator without mouse dragging and without visible contact points,
// with HugeReal 1e40.
#include "front_end.h"

int main() { return RunSimulator(BasicStyle); }

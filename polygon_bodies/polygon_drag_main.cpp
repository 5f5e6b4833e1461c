#include "rigid_crowd.h"

int main() { return RigidCrowdMain(); }

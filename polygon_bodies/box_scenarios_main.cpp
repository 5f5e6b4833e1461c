#include "rigid_scenes.h"

int main() { return RigidScenesMain(); }

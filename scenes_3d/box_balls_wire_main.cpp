#include "box_balls_wire_frame.h"

int main() { return BoxBallsWireMain(); }
